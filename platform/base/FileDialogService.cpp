#include "platform/base/FileDialogService.h"

#include "platform/base/TrimBlanks.h"

namespace platform {

namespace {

IFileDialogService* g_pFileDialogService = nullptr;

}  // namespace

std::vector<FileFilterEntry> ParseFileFilter(std::string_view filter) {
    // The fields up to the first empty one (the closing "||").
    std::vector<std::string_view> fields;
    std::size_t nStart = 0;
    while (nStart < filter.size()) {
        const std::size_t nBar = filter.find('|', nStart);
        const std::size_t nEnd = nBar == std::string_view::npos ? filter.size() : nBar;
        const std::string_view field = filter.substr(nStart, nEnd - nStart);
        if (field.empty()) {
            break;
        }
        fields.push_back(field);
        if (nBar == std::string_view::npos) {
            break;
        }
        nStart = nBar + 1;
    }

    std::vector<FileFilterEntry> entries;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        FileFilterEntry entry;
        entry.strDescription = std::string(fields[i]);
        std::string_view patterns = fields[i + 1];
        while (!patterns.empty()) {
            const std::size_t nSemi = patterns.find(';');
            const std::string_view pattern = TrimBlanks(patterns.substr(0, nSemi));
            if (!pattern.empty()) {
                entry.patterns.emplace_back(pattern);
            }
            if (nSemi == std::string_view::npos) {
                break;
            }
            patterns.remove_prefix(nSemi + 1);
        }
        if (!entry.patterns.empty()) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

IFileDialogService* SetFileDialogService(IFileDialogService* pService) {
    IFileDialogService* pOld = g_pFileDialogService;
    g_pFileDialogService = pService;
    return pOld;
}

IFileDialogService* GetFileDialogService() {
    return g_pFileDialogService;
}

int ShowFileDialog(const FileDialogRequest& request, std::string& strPath) {
    if (g_pFileDialogService == nullptr) {
        return IDCANCEL;
    }
    return g_pFileDialogService->ShowFileDialog(request, strPath);
}

}  // namespace platform
