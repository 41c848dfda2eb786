#pragma once

// What the kxctl tests share: kxctl run in process on the pseudo-terminal of a fresh emulated
// adapter, a folder of the test's own for its files, and the command lines the adapter received.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/ShellTimings.h"
#include "cli/Kxctl.h"
#include "sim/Emulator.h"
#include "sim/Faults.h"
#include "tests/support/Files.h"
#include "tests/support/StateHome.h"

namespace kx::cli {

using Lines = std::vector<std::string>;
using kx::test::readFile;
using kx::test::writeFile;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class KxctlSession : public ::testing::Test {
protected:
    void SetUp() override {
        shellTimings().probeSettle = std::chrono::milliseconds(10);
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = ::testing::TempDir() + "kxctl_" + test->test_suite_name() + "_" + test->name();
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        startAdapter();
    }
    void TearDown() override {
        adapter_.reset();
        shellTimings() = ShellTimings{};
    }

    void startAdapter(sim::EmulatorOptions options = {}) {
        adapter_.reset();
        std::string error;
        adapter_ = sim::Emulator::start(std::move(options), error);
        ASSERT_TRUE(adapter_) << error;
    }
    void addFault(const std::string& spec) {
        sim::FaultRule rule;
        std::string error;
        ASSERT_TRUE(sim::parseFault(spec, rule, error)) << error;
        adapter_->faults().add(rule);
    }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }

    // kxctl with `--port` on the adapter; a FILE of "-" reads `input`, and standard output goes
    // to `output` when one is given.
    Result run(std::vector<std::string> args, const std::string& input = "",
               std::ostream* output = nullptr) {
        args.insert(args.begin(), {"--port", adapter_->ptyPath()});
        std::ostringstream out, err;
        std::istringstream in(input);
        Result result;
        result.status = runKxctl(args, output ? *output : out, err, false, in);
        result.out = out.str();
        result.err = err.str();
        return result;
    }
    // The command lines the adapter received, without the probes and the reads.
    Lines sent() const {
        Lines out;
        for (const std::string& line : adapter_->transcript().lines())
            if (!line.empty() && !line.starts_with("AT") && !line.starts_with("show "))
                out.push_back(line);
        return out;
    }

    std::string folder_;
    std::unique_ptr<sim::Emulator> adapter_;
};

}  // namespace kx::cli
