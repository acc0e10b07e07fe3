#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

namespace lexaloom::palette {

// The colours the windows draw with, named once: lists, fields and labels use these
// rather than spelling out their own.

// Entries and words that start with "/" (comment entries).
inline const QColor amber(255, 201, 14);
// Errors: faulty fields and lines, incorrect words, the changed and modified marks,
// warnings in captions.
inline const QColor red(255, 0, 0);
// The AFF Validate lines that lack a field.
inline const QColor blue(0, 0, 255);
// Indicators: a lit lamp, an unlit one, and the lamp's rim.
inline const QColor lampOn(40, 170, 60);
inline const QColor lampOff(210, 210, 210);
inline const QColor lampRim(90, 90, 90);
// The correct words of the autocorrect list.
inline const QColor green(0, 153, 0);
// The captions of the About window.
inline const QColor captionBlue(41, 88, 139);
// Hyperlink labels.
inline const QColor link(0, 0, 255);
// The percentage column of the Statistics window's letter lists.
inline const QColor percentBlue(198, 235, 255);
// The background of the toolbar and of the line-number columns.
inline const QColor panelGrey(214, 217, 223);

// A colour the core keeps as 0xRRGGBB.
inline QColor fromRgb(quint32 rgb)
{
    return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

// "color: #RRGGBB;" for a style sheet, inside `selector { }` when one is given.
inline QString textColourStyle(const QColor &colour, const QString &selector = QString())
{
    const QString rule = QStringLiteral("color: ") + colour.name(QColor::HexRgb).toUpper() + QLatin1Char(';');
    return selector.isEmpty() ? rule : selector + QStringLiteral(" { ") + rule + QStringLiteral(" }");
}

} // namespace lexaloom::palette
