// Opening the user's default browser on an address, without waiting for it.
#pragma once
#include <string>

// False when no browser could be started; the address is printed anyway.
bool openBrowser(const std::string& url);
