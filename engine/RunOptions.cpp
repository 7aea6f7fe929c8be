#include "RunOptions.h"

#include "TextFormat.h"

std::optional<float> ParseVariation(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    auto digits = [&] {
        const std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            ++at;
        return at > start;
    };
    if (!digits())
        return std::nullopt;
    if (at < text.size() && text[at] == '.') {
        ++at;
        if (!digits())
            return std::nullopt;
    }
    if (at != text.size())
        return std::nullopt;
    const std::string number(text);
    float value = 0.0f;
    if (!ScanFloat(number.c_str(), value) || !(value >= -VariationLimit && value <= VariationLimit))
        return std::nullopt;
    return value == 0.0f ? 0.0f : value;
}

std::optional<std::string> DefaultSn10Path(std::string_view caiPath) {
    // The file name starts after the last separator; the folder part is never changed.
#ifdef _WIN32
    std::size_t name = caiPath.find_last_of("/\\:");
#else
    std::size_t name = caiPath.rfind('/');
#endif
    name = name == std::string_view::npos ? 0 : name + 1;
    for (std::size_t i = name; i + 4 <= caiPath.size(); ++i) {
        if (caiPath[i] == '.' && (caiPath[i + 1] | 0x20) == 'd' && (caiPath[i + 2] | 0x20) == 'a' &&
            (caiPath[i + 3] | 0x20) == 't') {
            std::string path(caiPath);
            path.replace(i, 4, ".NDB");
            return path;
        }
    }
    return std::nullopt;
}
