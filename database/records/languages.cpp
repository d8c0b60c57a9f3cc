#include "database/records/languages.h"

namespace vh::db {

const std::array<std::string_view, 60> kLanguageNames = {
    "ALBANIAN",  "ARABIC",   "BULGARIAN", "CHINESE",    "CROATIAN",    "CZECH",      "DUTCH",
    "ENGLISH",   "FINNISH",  "FRENCH",    "GERMAN",     "GREEK",       "HEBREW",     "HUNGARIAN",
    "ITALIAN",   "JAPANESE", "KOREAN",    "POLISH",     "PORTUGUESE",  "ROMANIAN",   "RUSSIAN",
    "NORWEGIAN", "SERBIAN",  "SPANISH",   "TURKISH",    "BURMESE",     "MALAY",      "PERSIAN",
    "SLOVAK",    "SWEDISH",  "ICELANDIC", "DANISH",     "AFRIKAANS",   "ALBANIAN",   "AMHARIC",
    "ARMENIAN",  "AZERI",    "BANGLA",    "ESTONIAN",   "GEORGIAN",    "HINDI",      "JAVANESE",
    "KHMER",     "KYRGYZ",   "LAO",       "LATVIAN",    "LETBURGESCH", "LITHUANIAN", "MACEDONIAN",
    "MALAGASY",  "MALTESE",  "SINHALESE", "SLOVENIAN",  "SOMALI",      "SWAHILI",    "TAJIK",
    "TAMIL",     "THAI",     "UZBEK",     "VIETNAMESE",
};

std::optional<std::string_view> LanguageName(int number) {
    if (number < 1 || number > static_cast<int>(kLanguageNames.size())) return std::nullopt;
    return kLanguageNames[static_cast<std::size_t>(number - 1)];
}

int LanguageNumber(std::string_view name) {
    for (std::size_t i = 0; i < kLanguageNames.size(); ++i)
        if (kLanguageNames[i] == name) return static_cast<int>(i + 1);
    return 0;
}

}  // namespace vh::db
