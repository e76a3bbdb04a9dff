#include "text/font_lookup.h"

#include <fontconfig/fontconfig.h>

namespace {

std::string no_match(const std::string& family)
{
    return "No font found: fontconfig has no match for \"" + family + "\"; playing without text.";
}

} // namespace

Result<std::string> find_font_file(const std::string& family)
{
    // fontconfig keeps its configuration for the whole process; a second
    // call finds it loaded.
    if (FcInit() != FcTrue)
        return Failure{"No font found: fontconfig cannot load its configuration; playing without text."};
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
    if (pattern == nullptr)
        return Failure{no_match(family)};
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);

    FcChar8* file = nullptr;
    Result<std::string> found = Failure{no_match(family)};
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr)
        found = std::string(reinterpret_cast<const char*>(file));
    if (match != nullptr)
        FcPatternDestroy(match);
    return found;
}
