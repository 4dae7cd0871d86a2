#pragma once

namespace grelmond {

// Told of every parameter value the instrument applies, whoever set it (host,
// editor, program selection, state or file load). May be called on any
// thread, the audio thread included, so a receiver only records the value and
// lets its own thread pick it up (the editor does so at idle).
class ChangeReceiver {
public:
    virtual void parameterChanged(int index, float value) = 0;

protected:
    ~ChangeReceiver() = default;
};

} // namespace grelmond
