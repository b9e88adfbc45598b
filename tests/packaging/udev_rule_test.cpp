// Evaluates the installed udev rule the way udev matches a device event: every match key must
// hold for the assignments to apply.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

struct Device {
    std::string subsystem;
    std::map<std::string, std::string> env;
    std::map<std::string, std::string> attrs;
};

struct Key {
    std::string name, attr, op, value;
};

std::vector<std::vector<Key>> ParseRules(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::vector<std::vector<Key>> rules;
    const std::regex key(R"(\s*([A-Z]+)(?:\{([^}]*)\})?\s*(==|!=|\+=|=|:=)\s*\"([^\"]*)\"\s*(,|$))");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<Key> rule;
        auto begin = std::sregex_iterator(line.begin(), line.end(), key);
        std::size_t consumed = 0;
        for (auto it = begin; it != std::sregex_iterator(); ++it) {
            EXPECT_EQ(static_cast<std::size_t>(it->position()), consumed) << "unparsable text in: " << line;
            consumed = it->position() + it->length();
            rule.push_back({(*it)[1], (*it)[2], (*it)[3], (*it)[4]});
        }
        EXPECT_EQ(consumed, line.size()) << "unparsable text in: " << line;
        rules.push_back(rule);
    }
    return rules;
}

// The tags a device gets from the rules.
std::vector<std::string> Tags(const std::vector<std::vector<Key>>& rules, const Device& d) {
    std::vector<std::string> tags;
    for (const auto& rule : rules) {
        bool match = true;
        for (const auto& k : rule) {
            if (k.op != "==" && k.op != "!=")
                continue;
            std::string actual;
            if (k.name == "SUBSYSTEM")
                actual = d.subsystem;
            else if (k.name == "ENV")
                actual = d.env.count(k.attr) ? d.env.at(k.attr) : "";
            else if (k.name == "ATTR" || k.name == "ATTRS")
                actual = d.attrs.count(k.attr) ? d.attrs.at(k.attr) : "";
            else
                ADD_FAILURE() << "unexpected match key " << k.name;
            match = match && ((actual == k.value) == (k.op == "=="));
        }
        if (!match)
            continue;
        for (const auto& k : rule)
            if (k.name == "TAG" && k.op == "+=")
                tags.push_back(k.value);
    }
    return tags;
}

Device UsbDevice(const std::string& vendor, const std::string& product) {
    return {"usb", {{"DEVTYPE", "usb_device"}}, {{"idVendor", vendor}, {"idProduct", product}}};
}

}  // namespace

TEST(UdevRule, GivesTheSeatAccessToTheLoggerAndNothingElse) {
    const char* src = std::getenv("ZPM_SOURCE_DIR");
    ASSERT_NE(src, nullptr);
    const auto rules = ParseRules(std::string(src) + "/packaging/70-zpm-vantor.rules");
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(Tags(rules, UsbDevice("04d8", "fffd")), std::vector<std::string>{"uaccess"});

    const Device others[] = {
        UsbDevice("04d8", "000a"),  // another device of the same vendor
        UsbDevice("046d", "fffd"),  // another vendor's product with the same number
        UsbDevice("046d", "c52b"),
        {"usb", {{"DEVTYPE", "usb_interface"}}, {{"idVendor", "04d8"}, {"idProduct", "fffd"}}},
        {"hidraw", {}, {{"idVendor", "04d8"}, {"idProduct", "fffd"}}},
    };
    for (const auto& d : others)
        EXPECT_TRUE(Tags(rules, d).empty())
            << d.subsystem << " " << d.attrs.at("idVendor") << ":" << d.attrs.at("idProduct");
}
