#include "lang/LanguageArgument.h"

#include "lang/Messages.h"

namespace orna5 {

int LanguageFromArgument(std::string_view argument) {
    if (argument == "ENGLISH") {
        return English;
    }
    if (argument == "DEUTSCH") {
        return German;
    }
    if (argument == "FRANCE") {
        return French;
    }
    if (argument == "CESKY") {
        return Czech;
    }
    return -1;
}

} // namespace orna5
