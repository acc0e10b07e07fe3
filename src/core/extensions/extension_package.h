#pragma once

#include <QString>

#include <functional>

namespace lexaloom {

class Ui;

// The file dialog filter of .xpi/.oxt packages.
QString extensionPackageFilter();

// File > "Open Extension .xpi/.oxt...": this version only lets the user pick a package
// and then says the function is not available; nothing is opened or changed.
// `confirmDiscard` asks about changed documents with the given question.
void OpenExtensionPackage(Ui &ui, const std::function<bool(const QString &question)> &confirmDiscard);

} // namespace lexaloom
