#include "model/Guid.h"

#include "model/TextUtil.h"

namespace ormaline {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

} // namespace

bool TGuid::IsNull() const {
    for (auto b : bytes)
        if (b != 0)
            return false;
    return true;
}

std::optional<TGuid> ParseGuid(std::string_view text) {
    std::string trimmed = Trim(text);
    std::string_view body = trimmed;
    if (body.size() == 38) {
        if (body.front() != '{' || body.back() != '}')
            return std::nullopt;
        body = body.substr(1, 36);
    }
    if (body.size() != 36)
        return std::nullopt;
    TGuid guid;
    std::size_t byteIndex = 0;
    for (std::size_t i = 0; i < body.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (body[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        int high = HexValue(body[i]);
        int low = i + 1 < body.size() ? HexValue(body[i + 1]) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        guid.bytes[byteIndex++] = static_cast<std::uint8_t>(high * 16 + low);
        i += 2;
    }
    return guid;
}

std::string GuidToStatementText(const TGuid& guid) {
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < guid.bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += '-';
        text += kHexDigits[guid.bytes[i] >> 4];
        text += kHexDigits[guid.bytes[i] & 0x0F];
    }
    return text;
}

std::string GuidToString(const TGuid& guid) {
    return "{" + GuidToStatementText(guid) + "}";
}

std::string BracedGuidText(std::string_view anyForm) {
    auto guid = ParseGuid(anyForm);
    return guid ? GuidToString(*guid) : Trim(anyForm);
}

std::string StatementGuidText(std::string_view anyForm) {
    auto guid = ParseGuid(anyForm);
    return guid ? GuidToStatementText(*guid) : Trim(anyForm);
}

} // namespace ormaline
