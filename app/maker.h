// The maker's web presence: the one web address the program knows. The banner page loads its
// script from this host, and the font window's preset preview text shows it as its second line.
#pragma once

// Host name, also shown to the user as the maker's web address.
inline constexpr char kMakerWebHost[] = "www.yuque.example.com";
