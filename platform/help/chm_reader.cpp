#include "platform/help/chm_reader.h"

#include <chm_lib.h>
#include <dlfcn.h>

#include <cstdlib>

namespace {

// chmlib's entry points, bound by name; the library name can be changed for
// tests that need it missing.
struct ChmApi {
    decltype(&chm_open) open = nullptr;
    decltype(&chm_close) close = nullptr;
    decltype(&chm_resolve_object) resolve = nullptr;
    decltype(&chm_retrieve_object) retrieve = nullptr;
    bool ok = false;
};

const ChmApi& Api() {
    static const ChmApi api = [] {
        ChmApi a;
        const char* name = std::getenv("ZEV_CHMLIB");
        void* lib = dlopen(name && *name ? name : "libchm.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!lib) return a;
        a.open = reinterpret_cast<decltype(a.open)>(dlsym(lib, "chm_open"));
        a.close = reinterpret_cast<decltype(a.close)>(dlsym(lib, "chm_close"));
        a.resolve = reinterpret_cast<decltype(a.resolve)>(dlsym(lib, "chm_resolve_object"));
        a.retrieve = reinterpret_cast<decltype(a.retrieve)>(dlsym(lib, "chm_retrieve_object"));
        a.ok = a.open && a.close && a.resolve && a.retrieve;
        if (!a.ok) dlclose(lib);
        return a;
    }();
    return api;
}

}  // namespace

bool ChmLibraryAvailable() {
    return Api().ok;
}

std::unique_ptr<CChmReader> CChmReader::Open(const std::string& path) {
    if (!Api().ok) return nullptr;
    chmFile* file = Api().open(path.c_str());
    if (!file) return nullptr;
    return std::unique_ptr<CChmReader>(new CChmReader(file));
}

CChmReader::~CChmReader() {
    Api().close(m_file);
}

bool CChmReader::Contains(const std::string& objectPath) const {
    chmUnitInfo info{};
    return Api().resolve(m_file, objectPath.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

bool CChmReader::Read(const std::string& objectPath, std::string& content) const {
    chmUnitInfo info{};
    if (Api().resolve(m_file, objectPath.c_str(), &info) != CHM_RESOLVE_SUCCESS) return false;
    // Help pages are small; anything past 64 MiB is no page of ours.
    constexpr LONGUINT64 kMaxObject = 64ull << 20;
    if (info.length > kMaxObject) return false;
    content.assign(static_cast<size_t>(info.length), '\0');
    if (info.length == 0) return true;
    const LONGINT64 got =
        Api().retrieve(m_file, &info, reinterpret_cast<unsigned char*>(&content[0]), 0,
                       static_cast<LONGINT64>(info.length));
    if (got != static_cast<LONGINT64>(info.length)) {
        content.clear();
        return false;
    }
    return true;
}

void SplitHelpPath(const std::string& helpPath, std::string& file, std::string& topic) {
    const auto sep = helpPath.find("::");
    if (sep == std::string::npos) {
        file = helpPath;
        topic = "/";
        return;
    }
    file = helpPath.substr(0, sep);
    topic = helpPath.substr(sep + 2);
    if (topic.empty() || topic[0] != '/') topic.insert(0, "/");
}
