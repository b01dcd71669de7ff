#include <cstdio>

int main() {
  std::puts("VOLPAR: the windows are not built yet.");
  return 0;
}
