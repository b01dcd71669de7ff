#include "screens/welcome/Initial_Screen.h"

namespace volpar {

void Initial_Screen::layOut() {}

}  // namespace volpar
