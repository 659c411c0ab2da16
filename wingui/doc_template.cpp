// Document template: strings, creation of documents and frames, ownership.
#include "doc_template.h"

namespace wingui {

DocStrings ParseDocStrings(const std::string& text) {
    DocStrings s;
    std::string* fields[] = {&s.windowTitle, &s.docName, &s.fileNewName, &s.filterName,
                             &s.filterExt, &s.fileTypeId, &s.fileTypeName};
    std::size_t start = 0;
    for (std::string* field : fields) {
        if (start > text.size()) break;
        const std::size_t end = text.find('\n', start);
        *field = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() + 1 : end + 1;
    }
    return s;
}

DocTemplate::DocTemplate(HINSTANCE instance, int stringId, MakeDocument makeDocument, MakeFrame makeFrame)
    : makeDocument_(std::move(makeDocument)), makeFrame_(std::move(makeFrame)) {
    char text[512] = {};
    LoadStringA(instance, UINT(stringId), text, sizeof text);
    strings_ = ParseDocStrings(text);
}

Document* DocTemplate::OpenNew(MdiFrame& frame) {
    std::unique_ptr<Document> document = makeDocument_();
    if (!document) return nullptr;
    document->SetTitle(strings_.docName + std::to_string(++untitledCount_));
    Document* raw = document.get();
    documents_.push_back(std::move(document));
    if (!makeFrame_(*raw, frame)) {
        documents_.pop_back();
        return nullptr;
    }
    return raw;
}

bool DocTemplate::AddFrame(Document& document, MdiFrame& frame) { return makeFrame_(document, frame); }

void DocTemplate::FrameGone(Document* document, HWND childFrame) {
    if (!document || document->RemoveFrame(childFrame)) return;
    for (auto it = documents_.begin(); it != documents_.end(); ++it)
        if (it->get() == document) {
            documents_.erase(it);
            return;
        }
}

}  // namespace wingui
