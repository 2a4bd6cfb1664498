// For the tests of the Linux console's character set, which follows the
// locale: LC_ALL set for as long as one of these lives, with the console's code
// page chosen from it. Afterwards LC_ALL is put back and the console has code
// page 866 again, as every other test expects, whatever the caller's locale.
// Header-only, for tests that link the platform layer.
#pragma once

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

#include "vormi/platform/CodePage.h"

namespace vormi::testsupport {

class ConsoleLocale {
public:
    explicit ConsoleLocale(const char* locale) {
        if (const char* saved = std::getenv("LC_ALL")) Saved_ = saved;
        setenv("LC_ALL", locale, 1);
        platform::ChooseConsoleCodePage();
    }
    ~ConsoleLocale() {
        setenv("LC_ALL", "C", 1);
        platform::ChooseConsoleCodePage();
        if (Saved_)
            setenv("LC_ALL", Saved_->c_str(), 1);
        else
            unsetenv("LC_ALL");
    }
    ConsoleLocale(const ConsoleLocale&) = delete;
    ConsoleLocale& operator=(const ConsoleLocale&) = delete;

    // Whether this machine has the locale (the program's own stays "C").
    static bool Exists(const char* locale) {
        const bool exists = std::setlocale(LC_CTYPE, locale) != nullptr;
        std::setlocale(LC_CTYPE, "C");
        return exists;
    }

private:
    std::optional<std::string> Saved_;
};

}  // namespace vormi::testsupport
