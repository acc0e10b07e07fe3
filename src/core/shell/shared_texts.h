#pragma once

#include <QString>

namespace lexaloom {

// The texts that several subsystems show in the same words, each written once.
namespace sharedTexts {
inline const QString escToAbort = QStringLiteral("<ESC> to abort.");
inline const QString txtFilter = QStringLiteral("Text Documents (*.txt)|*.txt");
inline const QString noDuplicates = QStringLiteral("No duplicates found.");
inline const QString noSpacesToFix = QStringLiteral("No spaces to fix found!");
inline const QString nullWord = QStringLiteral("Null word at Line:");
inline const QString nothingToSave = QStringLiteral("Nothing to save.");
inline const QString nothingToProcess = QStringLiteral("Nothing to process.");
inline const QString notCodedYet = QStringLiteral("Not coded yet.");
} // namespace sharedTexts

} // namespace lexaloom
