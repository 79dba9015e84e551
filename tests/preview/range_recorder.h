// Records what a range model tells its observers, as "name value" texts
// in order ("begin 30", "slider seek 50", "closed").
#pragma once

#include <string>
#include <vector>

#include "preview/range_model.h"

struct RangeRecorder {
    std::vector<std::string> seen;

    explicit RangeRecorder(CRangeModel& m) {
        auto note = [this](const char* name) {
            return [this, name](unsigned v) { seen.push_back(name + std::to_string(v)); };
        };
        QObject::connect(&m, &CRangeModel::Loaded, note("loaded "));
        QObject::connect(&m, &CRangeModel::Closed, [this] { seen.push_back("closed"); });
        QObject::connect(&m, &CRangeModel::BeginChanged, note("begin "));
        QObject::connect(&m, &CRangeModel::EndChanged, note("end "));
        QObject::connect(&m, &CRangeModel::PositionChanged, note("position "));
        QObject::connect(&m, &CRangeModel::SeekRequested, [this](unsigned v, SeekOrigin o) {
            seen.push_back((o == SeekOrigin::TypedTime ? "typed seek " : "slider seek ") +
                           std::to_string(v));
        });
    }
    // What was recorded since the last call.
    std::vector<std::string> Take() { return std::move(seen); }
    // The entries that begin with `prefix`.
    std::vector<std::string> Of(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& s : seen)
            if (s.rfind(prefix, 0) == 0) out.push_back(s);
        return out;
    }
};
