#pragma once
// The runtime's modal popups as Qt dialogs.

#include <QString>

#include <string>

#include "platform/ui/front_end.h"

class QWidget;

namespace qtfe {

void ShowMessage(QWidget* parent, const QString& title, const QString& text);
// 1 for yes, 0 for no.
int AskYesNo(QWidget* parent, const QString& title, const QString& text);
// VAL_NO_FILE_SELECTED, VAL_EXISTING_FILE_SELECTED or VAL_NEW_FILE_SELECTED; *path is the full
// chosen path in the file system's encoding.
int SelectFile(QWidget* parent, const ui::FileSelectRequest& request, std::string* path);

}  // namespace qtfe
