#include "annotations/Palette.h"

#include <cmath>

namespace markvane {

QColor systemRed() {
    return QColor(255, 59, 48);
}
QColor systemYellow() {
    return QColor(255, 204, 0);
}
QColor systemGreen() {
    return QColor(52, 199, 89);
}
QColor systemBlue() {
    return QColor(0, 122, 255);
}

const QList<QColor>& defaultPalette() {
    static const QList<QColor> palette{systemRed(), systemYellow(), systemGreen(), systemBlue(),
                                       QColor(Qt::white)};
    return palette;
}

double strokeWidth(int widthIndex) {
    switch (widthIndex) {
    case 0:
        return 3;
    case 2:
        return 11;
    default:
        return 6;
    }
}

const QList<QString>& stampChoices() {
    static const QList<QString> stamps = [] {
        const char32_t* glyphs[] = {U"\U0001F44D", U"\U0001F44E", U"\u2764\uFE0F", U"\U0001F389",
                                    U"\U0001F525", U"\u2705",     U"\u274C",       U"\u2B50",
                                    U"\U0001F440", U"\U0001F4AF", U"\U0001F44F",   U"\U0001F914",
                                    U"\U0001F4A1", U"\U0001F680", U"\u26A0\uFE0F", U"\u2753",
                                    U"\U0001F44B", U"\u2728",     U"\U0001F4AA",   U"\U0001F44C",
                                    U"\U0001F602", U"\U0001F60D", U"\U0001F64C",   U"\U0001F92F"};
        QList<QString> list;
        for (const char32_t* glyph : glyphs)
            list.append(QString::fromUcs4(glyph));
        return list;
    }();
    return stamps;
}

QString defaultStamp() {
    return stampChoices().first();
}

QString hexString(const QColor& color) {
    const QColor rgb =
        color.spec() == QColor::Rgb || color.spec() == QColor::Invalid ? color : color.toRgb();
    // std::lround takes halves away from zero.
    const auto channel = [](float component) {
        return static_cast<int>(std::lround(static_cast<double>(component) * 255.0));
    };
    return QString::asprintf("#%02X%02X%02X", channel(rgb.redF()), channel(rgb.greenF()),
                             channel(rgb.blueF()));
}

std::optional<QColor> colorFromHex(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    const auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    QStringView digits = QStringView(text).mid(begin, end - begin);
    if (digits.startsWith(QLatin1Char('#')))
        digits = digits.mid(1);
    if (digits.size() != 6)
        return std::nullopt;
    for (QChar c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c.toLatin1())) || c.unicode() > 0x7f)
            return std::nullopt;
    }
    bool ok = false;
    const uint value = digits.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return QColor((value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff);
}

} // namespace markvane
