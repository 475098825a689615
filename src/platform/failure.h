#pragma once
#include <QString>
#include <stdexcept>

namespace platform {

// What the layer throws where the original platform raised a run-time error
// (file cannot be opened, number does not convert, index out of range).
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& what) : std::runtime_error(what.toStdString()) {}
};

// Runs one statement of a routine that runs "with errors ignored": a Failure
// skips the statement and the routine goes on. Anything else passes up.
template <typename F>
bool ignoreErrors(F&& statement)
{
    try {
        statement();
        return true;
    } catch (const Failure&) {
        return false;
    }
}

} // namespace platform
