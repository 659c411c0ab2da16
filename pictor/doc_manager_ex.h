// CDocManagerEx: the file-name prompt of "Save As" (a CFileDialogEx with the
// document type's filter and "Bmp Files (*.bmp)"; the BMP type preselected
// for a name ending in "bmp"), the Save As command itself, and the question
// asked before a modified document closes.
#pragma once

#include <windows.h>

#include <string>

#include "doc_template.h"

class CBmpDoc;

class CDocManagerEx {
public:
    explicit CDocManagerEx(const wingui::DocStrings& strings) : strings_(strings) {}

    // True with `name` chosen and the save format set from the chosen type.
    bool DoPromptFileName(HWND owner, std::string& name);
    // Prompts and saves; the user is told when the file cannot be written.
    bool SaveAs(CBmpDoc& document, HWND owner);
    // Asks whether to save a modified document; false when the user cancels
    // or the save fails (the document then stays).
    bool SaveModified(CBmpDoc& document, HWND owner);

private:
    wingui::DocStrings strings_;
};
