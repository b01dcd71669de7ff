#include "machine/REXEC_Manual.h"

namespace volpar {

std::optional<std::string> REXEC_Manual::Save_Program_File(const std::string&) { return std::nullopt; }
std::optional<std::string> REXEC_Manual::Load_Program_File(const std::string&) { return std::nullopt; }
std::string REXEC_Manual::Memory_Byte_To_Text(std::int16_t) { return "00000000"; }
void REXEC_Manual::Text_To_Memory_Byte(std::int16_t, const std::string&) {}

}  // namespace volpar
