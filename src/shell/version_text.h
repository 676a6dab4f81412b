#pragma once
// The version the About box shows. Both programs carry the same build number.

#include <string>

namespace arkivo {

inline constexpr int BuildNumber = 603;

// "Version 6.0 (Build 603)".
std::string VersionText();

// The publisher's web address, opened by the About box's "Visit the Quenlow Web Site".
inline constexpr const char* PublisherWebAddress = "https://www.quenlow.com/";

}  // namespace arkivo
