// Temporary directories and a scripted dialog seam for the profile store's
// tests.
#pragma once

#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win/dialog_seam.h"

class TempDir {
public:
    TempDir() {
        std::random_device seed;
        m_path = std::filesystem::temp_directory_path() /
                 ("zev-profiles-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct ShownMessage {
    std::string text;
    MsgButtons buttons;
};

// Answers with the scripted answers in order, then with No (Ok for an OK
// box), and records every message.
class ScriptedDialogs : public IDialogSeam {
public:
    MsgAnswer MessageBox(const std::string& text, const std::string&, MsgButtons buttons,
                         MsgIcon) override {
        messages.push_back({text, buttons});
        if (!answers.empty()) {
            const MsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
    bool OpenFileName(const std::string&, const std::string&, std::string&) override {
        return false;
    }
    bool SaveFileName(const std::string&, const std::string&, const std::string&,
                      std::string&) override {
        return false;
    }
    std::deque<MsgAnswer> answers;
    std::vector<ShownMessage> messages;
};
