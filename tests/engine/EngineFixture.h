// SPDX-License-Identifier: MIT
#pragma once
// Shared set-up for engine tests: collects the report lines and writes CAI files to a scratch
// folder.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Conversion.h"
#include "Messages.h"
#include "RunState.h"
#include "TestFiles.h"

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testfiles::ScratchDir();
        previousSink = SetLineSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    void TearDown() override { SetLineSink(std::move(previousSink)); }

    // Writes a CAI file and returns its path; the path text stays valid for the test.
    const char* Cai(const std::string& bytes, const std::string& name = "in.dat") {
        paths.push_back((dir / name).string());
        testfiles::WriteBytes(paths.back(), bytes);
        return paths.back().c_str();
    }
    const char* Out(const std::string& name = "out.ndb") {
        paths.push_back((dir / name).string());
        return paths.back().c_str();
    }
    int Run(const std::string& cai, float variation = 0.0f, int given = 1) {
        lines.clear();
        const char* in = Cai(cai);
        return RunConversion(variation, given, in, Out());
    }
    std::string Written() { return testfiles::ReadBytes(dir / "out.ndb"); }

    // Converts a file of the given name through the hosts' entry, with the user's choices.
    ConversionResult Convert(const std::string& bytes, const std::string& name,
                             const RunChoices& choices = {},
                             std::optional<float> variation = 1.0f) {
        lines.clear();
        const char* in = Cai(bytes, name);
        return ConvertFile({.inputPath = in,
                            .outputPath = Out(),
                            .variation = variation,
                            .report = [this](std::string_view line) { lines.emplace_back(line); },
                            .choices = choices});
    }
    // The point lines of the database written last, without their line ends.
    std::vector<std::string> PointLines() {
        std::vector<std::string> points;
        for (const std::string& line : testfiles::SplitCrLf(Written()))
            if (line.starts_with("P "))
                points.push_back(line);
        return points;
    }
    // The report's lines that begin with prefix.
    std::vector<std::string> LinesStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& line : lines)
            if (line.starts_with(prefix))
                found.push_back(line);
        return found;
    }

    std::filesystem::path dir;
    std::vector<std::string> lines;
    std::deque<std::string> paths; // a deque keeps earlier texts in place
    LineSink previousSink;
};
