#pragma once

#include "storage/TuningFiles.h"
#include "storage/TuningSource.h"

#include <mutex>
#include <string>
#include <string_view>

namespace grelmond {

class TuningExchange;

// An instance's tuning on the user-interface side: loads scales and mappings
// by typed name, returns to equal temperament, writes and reads the state
// section, and hands every new table to the audio thread. Callable from any
// thread but the audio thread; calls are serialised here.
class TuningControl {
public:
    TuningControl(std::string installFolder, TuningExchange& exchange);

    // The typed name "equal" (equal temperament), or a name ending in .scl or .kbm.
    static bool isTuningName(std::string_view name);

    struct Result {
        bool loaded = false;
        std::string message; // for the status line
    };
    // A scale (.scl), a mapping (.kbm), or "equal" for equal temperament.
    Result load(const char* name);
    void reset();
    std::string description() const;

    // The state's tuning section (empty in equal temperament).
    std::string stateSection() const;
    // Reads the tuning from a whole state text (equal temperament without a
    // section) and returns where the section starts, i.e. the length of the rest.
    std::size_t readState(std::string_view text);
    // The same in two steps, for a state whose rest may still be refused:
    // the tuning read into source without touching this one, then adopted.
    static std::size_t splitState(std::string_view text, TuningSource& source);
    void adopt(const TuningSource& source);

private:
    void publish();

    mutable std::mutex mutex_;
    TuningSource source_;
    TuningFiles files_;
    TuningExchange& exchange_;
};

} // namespace grelmond
