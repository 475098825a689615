#pragma once
#include "platform/files.h"
#include "platform/forms/forms.h"
#include "platform/process.h"
#include "platform/sound/sound_service.h"
#include "platform/virtual_clock.h"

#include <QTemporaryDir>

class FrmMain;
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

// What a test sees instead of the process ending.
struct ProgramEnded : std::runtime_error {
    ProgramEnded() : std::runtime_error("program ended") {}
};

// A whole program on virtual time: a fresh program folder, the silent sound
// device with its play log, scripted message boxes, and an end of the program
// that throws instead of leaving the process.
class AppFixture : public ::testing::Test {
protected:
    // The environment is ready in the constructor, so members of a derived fixture
    // may already load forms.
    AppFixture();
    void TearDown() override;

    QString folder() const { return dir_.path(); }
    // The main window loaded and shown, as after the program's start-up (menus and
    // buttons of a hidden window take no user action).
    static FrmMain& shownMain();
    // Scripts a learner: calls step every 10 ms of virtual time until it returns false.
    void every10ms(std::function<bool()> step);
    platform::VirtualClock& clock() { return *vc_; }

private:
    QTemporaryDir dir_;
    QString previous_; // the test's own folder, given back at the end
    platform::ScopedVirtualClock vc_{1000};
};
