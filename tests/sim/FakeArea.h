#pragma once

// A one-setting area for the emulator's own tests, so they do not depend on the real areas:
// "fake set VALUE" sets it, "show fake" answers "value: VALUE".

#include "sim/Device.h"

namespace kx::sim::test {

class FakeArea final : public Area {
public:
    bool handle(const Words& words, std::string_view, std::string& reply) override {
        if (words.size() == 2 && words[0] == "show" && words[1] == "fake") {
            reply = "value: " + value_ + "\r\nring sound: 1\r\nother: 2\r\n";
            return true;
        }
        if (words.size() == 3 && words[0] == "fake" && words[1] == "set") {
            value_ = words[2];
            return true;
        }
        return false;
    }
    void reset() override { value_ = "factory"; }
    std::map<std::string, std::string> save() const override { return {{"value", value_}}; }
    void restore(const std::map<std::string, std::string>& values) override {
        if (auto it = values.find("value"); it != values.end())
            value_ = it->second;
    }

private:
    std::string value_ = "factory";
};

inline std::vector<Device::NamedArea> fakeAreas() {
    std::vector<Device::NamedArea> areas;
    areas.push_back({"fake", std::make_unique<FakeArea>()});
    return areas;
}

}  // namespace kx::sim::test
