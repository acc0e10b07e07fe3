#pragma once

#include <QString>

namespace lexaloom {

class Ui;

namespace fileTexts {
inline const QString errorTitle = QStringLiteral("Error");
inline const QString overwriteQuestion = QStringLiteral("File already exists! Overwrite it?");
inline const QString fileNotFound = QStringLiteral("File not found.");
// %1 is the path, %2 the system's reason.
inline const QString cannotRead = QStringLiteral("Can't read the file:\n%1\n\n%2");
inline const QString cannotWrite = QStringLiteral("Can't write the file:\n%1\n\n%2");
} // namespace fileTexts

// Our filters are "Description (*.ext)|*.ext|..." pairs; this turns one into the
// "Description (*.ext);;..." form the Ui's dialogs take.
QString DialogFilter(const QString &filter);

// The open dialog; the empty text on Cancel. The file need not exist: callers check
// with CheckFileExists.
QString AskOpenPath(Ui &ui, const QString &title, const QString &filter);

// The save dialog with the default extension ("." included) appended when the name
// has none of the filter's extensions, and the overwrite question. The empty text
// means cancelled or refused. An existing file is left in place: the savers replace
// it atomically, so a failed save never loses it.
QString AskSavePath(Ui &ui, const QString &title, const QString &filter, const QString &defaultExtension);

// The extension rules of AskSavePath on a chosen name, without the dialog.
QString WithSaveExtension(const QString &path, const QString &filter, const QString &defaultExtension);

// False, after showing `message` under "Error", when `path` is missing, a folder or empty.
bool CheckFileExists(Ui &ui, const QString &path, const QString &message);

// Size of the file at `path`; -1 when nothing or a folder is there.
qint64 FileSize(const QString &path);

// "\r\n", then every remaining "\r", become "\n".
QString NormaliseLineEnds(QString text);

// Writes `bytes` to a new file and then replaces `path` with it, creating the folder
// when missing; on any failure the old file stays as it was and the result is false.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace lexaloom
