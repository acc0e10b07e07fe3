#pragma once

#include <QString>

namespace lexaloom {

inline QString manualFileName()
{
    return QStringLiteral("Lexaloom_manual_V30.html");
}

// The sections of the manual the program opens; the manual has an anchor for each.
namespace manualAnchors {
inline const QString affValidate = QStringLiteral("#5.2.5.1.aff_validate");
inline const QString bulkImport = QStringLiteral("#5.2.5.2.bulk_import");
inline const QString possessiveNames = QStringLiteral("#5.2.5.3.import_places_names_possessives");
inline const QString regionalVariants = QStringLiteral("#5.2.5.4.GB_to_AU_CA_NZ_ZA");
inline const QString showDuplicates = QStringLiteral("#5.2.5.8.show_duplicates");
inline const QString wordlistDuplicates = QStringLiteral("#5.2.5.9.show_duplicates_wordlist");
inline const QString statistics = QStringLiteral("#5.2.5.10.statistics");
inline const QString masterWordlist = QStringLiteral("#5.2.5.11.words_missing_master_wordlist");
inline const QString crunch = QStringLiteral("#5.2.5.13.crunch_words_with_flags");
inline const QString preferences = QStringLiteral("#3.preferences");
inline const QString posSettings = QStringLiteral("#10.1.pos_settings");
inline const QString licence = QStringLiteral("#7.apache_license");
} // namespace manualAnchors

// The manual beside the program as a percent-encoded file URL, at `anchor` ("#..."
// or empty).
QString ManualUrl(const QString &programFolder, const QString &anchor = QString());

} // namespace lexaloom
