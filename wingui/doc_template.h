// Template of one document type in a multiple-document frame: its strings
// (one string resource of seven fields separated by "\n": window title,
// document name, new-file name, filter name, extension, file-type identifier,
// file-type description), and how a document and its child frame are made.
// It owns the open documents.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document.h"

namespace wingui {

class MdiFrame;

struct DocStrings {
    std::string windowTitle, docName, fileNewName, filterName, filterExt, fileTypeId, fileTypeName;
};
// The seven fields of such a string; missing ones stay empty.
DocStrings ParseDocStrings(const std::string& text);

class DocTemplate {
public:
    using MakeDocument = std::function<std::unique_ptr<Document>()>;
    // Makes a child frame showing the document; false when it cannot.
    using MakeFrame = std::function<bool(Document& document, MdiFrame& frame)>;

    DocTemplate(HINSTANCE instance, int stringId, MakeDocument makeDocument, MakeFrame makeFrame);
    const DocStrings& Strings() const { return strings_; }

    // A new empty document titled from the document name and a counter
    // ("Pic1", "Pic2", ...) in a new child frame; null when either cannot be made.
    Document* OpenNew(MdiFrame& frame);
    // Another frame for an open document.
    bool AddFrame(Document& document, MdiFrame& frame);
    // A child frame of `document` is gone; the document goes with its last.
    void FrameGone(Document* document, HWND childFrame);
    const std::vector<std::unique_ptr<Document>>& Documents() const { return documents_; }

private:
    DocStrings strings_;
    MakeDocument makeDocument_;
    MakeFrame makeFrame_;
    int untitledCount_ = 0;
    std::vector<std::unique_ptr<Document>> documents_;
};

}  // namespace wingui
