#pragma once
#include "platform/files.h"
#include "support/tone_options.h"
#include "synthesis/ToneOptions.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Tone quality, volume and code interval for one test, restored to the dialog's
// design values afterwards.
struct ScopedToneOptions {
    ScopedToneOptions(int quality, int volume, float factor = 1.0f)
    {
        SetToneQualityValue(quality);
        SetToneVolumeValue(volume);
        CodeIntervalFactor = factor;
    }
    ~ScopedToneOptions()
    {
        SetToneQualityValue(1);
        SetToneVolumeValue(1);
        CodeIntervalFactor = 1.0f;
    }
};

// A temporary program folder with its sound folder.
class TemporaryProgramFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        previous_ = platform::programFolder();
        platform::setProgramFolder(dir_.path());
        platform::createFolder(platform::besideProgram("sound"));
    }
    void TearDown() override { platform::setProgramFolder(previous_); }
    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
};
