// Facts about the machine for the system report at the top of the HTML log.
#pragma once

#include <string>

namespace SysInfo {

std::string GetComputerName();  // the host name
std::string GetOSVersion();     // distribution and kernel, "Unknown" when nothing can be read
std::string GetLocale();        // the user's language setting, e.g. "en_US.UTF-8"
std::string GetCPU();           // vendor, model, "~N Mhz"; empty when unknown
// SDL's video driver and first display, asked without opening a window; empty
// in headless runs or when SDL has no video.
std::string GetVideoInfo();
// "physical %.1f mb (available %.1f mb), virtual %.1f mb (available %.1f mb)";
// virtual memory counts memory and swap together.
std::string GetMemoryStatus();
// The memory text from numbers in bytes.
std::string FormatMemoryStatus(double physTotal, double physAvail, double virtTotal, double virtAvail);

}  // namespace SysInfo
