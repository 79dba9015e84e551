// Reading pages out of a compiled help file (CHM) through chmlib, which is
// loaded on first use. When the library or the file is missing, help does
// nothing: Open returns null and nothing is reported.
//
// Threads: any, one object per thread. Ownership: the reader owns the open
// file and closes it when it goes.
#pragma once

#include <memory>
#include <string>

struct chmFile;

class CChmReader {
public:
    // Null when chmlib cannot be loaded or the file is no readable CHM.
    static std::unique_ptr<CChmReader> Open(const std::string& path);
    ~CChmReader();
    CChmReader(const CChmReader&) = delete;
    CChmReader& operator=(const CChmReader&) = delete;

    // `objectPath` inside the archive, e.g. "/intro.htm". False when it is
    // not there or cannot be read.
    bool Read(const std::string& objectPath, std::string& content) const;
    bool Contains(const std::string& objectPath) const;

private:
    explicit CChmReader(chmFile* file) : m_file(file) {}
    chmFile* m_file;
};

// Whether chmlib could be loaded (it is tried once per process).
bool ChmLibraryAvailable();

// Splits "dir/zevhelp.chm::/intro.htm" into the file and the topic ("/" is
// added when missing; no "::" gives the topic "/").
void SplitHelpPath(const std::string& helpPath, std::string& file, std::string& topic);
