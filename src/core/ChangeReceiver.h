#pragma once

namespace grelmond {

// Told of every parameter value the instrument applies, whoever set it (host,
// editor, program selection, state or file load), and of every program
// selection (host, editor, MIDI program change, state or file load). May be
// called on any thread, the audio thread included, so a receiver only records
// what it is told and lets its own thread pick it up (the editor does so at
// idle). An instrument has one receiver; an adapter that needs to hear too
// receives and passes on to its editor.
class ChangeReceiver {
public:
    virtual void parameterChanged(int index, float value) = 0;
    // Raised before the program's values are applied.
    virtual void programSelected(int index) {}

protected:
    ~ChangeReceiver() = default;
};

} // namespace grelmond
