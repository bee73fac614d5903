#include "app/KeyEquivalent.h"

#include "shortcuts/KeyNames.h"

#include <QHash>

namespace markvane {
namespace {

const QHash<quint16, char16_t>& specialKeys() {
    static const QHash<quint16, char16_t> table{
        {36, 0x000D},  {48, 0x0009},  {49, 0x0020},  {51, 0x0008},  {53, 0x001B},
        {76, 0x0003},  {117, 0x007F}, {115, 0xF729}, {116, 0xF72C}, {119, 0xF72B},
        {121, 0xF72D}, {123, 0xF702}, {124, 0xF703}, {125, 0xF701}, {126, 0xF700},
    };
    return table;
}

// F1 ... F20 as the named-key table calls them.
std::optional<int> functionKeyNumber(quint16 keyCode) {
    const std::optional<QString> name = namedKeyName(keyCode, KeyVocabulary::mac);
    if (!name || name->size() < 2 || name->at(0) != QLatin1Char('F'))
        return std::nullopt;
    bool ok = false;
    const int number = name->mid(1).toInt(&ok);
    if (!ok || number < 1 || number > 20)
        return std::nullopt;
    return number;
}

} // namespace

std::optional<QChar> keyEquivalent(quint16 keyCode) {
    if (const auto it = specialKeys().constFind(keyCode); it != specialKeys().constEnd())
        return QChar(*it);
    if (const std::optional<int> number = functionKeyNumber(keyCode))
        return QChar(char16_t(0xF704 + *number - 1));
    if (const std::optional<QString> character = characterKeyName(keyCode);
        character && character->size() == 1)
        return character->at(0).toLower();
    return std::nullopt;
}

} // namespace markvane
