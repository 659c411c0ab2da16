// CFileDialogEx: the system's save dialog run with the structure size the
// system understands (the extended one on NT-family systems from version 5,
// else the classic one), centred on its owner when ready, every file name
// accepted, and a change of file type renaming the proposed file: the name
// is cut at its last "." and the chosen type's extension appended.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CFileDialogEx {
public:
    struct FileType {
        std::string description;  // "JPEG (*.JPG)"
        std::string pattern;      // "*.jpg"
        std::string extension;    // ".jpg"
    };

    CFileDialogEx(std::vector<FileType> types, int initialType, const std::string& proposedName, HWND owner);
    // IDOK or IDCANCEL.
    INT_PTR DoModal();
    std::string PathName() const { return file_; }
    // 1-based, as the system counts.
    int FileTypeIndex() const { return typeIndex_; }

    // The name with its part after the last "." replaced by `extension`; a
    // name without "." is left alone.
    static std::string ChangeExtension(const std::string& name, const std::string& extension);

private:
    static UINT_PTR CALLBACK Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void OnTypeChange(HWND explorer, int typeIndex) const;

    std::vector<FileType> types_;
    int typeIndex_;
    HWND owner_;
    char file_[MAX_PATH * 2] = {};
    bool extendedSize_ = true;
};
