// Texts the shell utilities hand to the system: the command line that opens a folder in
// Explorer, and the banner page written into the web view.
#pragma once

#include <string>

#include "app/maker.h"

// "explorer.exe", two spaces, then the folder in double quotes.
std::string ExplorerCommandLine(const std::string& folder);

// The banner page: 27 lines joined by CR LF, with none after the last. Its script element loads
// "/Link/GoSoft.Asp?ID=14&SoftName=" from `host` over http: the maker's host unless told.
std::string BannerPage(const std::string& host = kMakerWebHost);
