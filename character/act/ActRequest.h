#pragma once
#include <string>
#include <vector>

// One queued request of an action player: a registered action's name (or
// "blend") and its argument words. Numbers become words with "%f".
struct CActRequest {
    std::string name;
    std::vector<std::string> words;

    CActRequest() = default;
    explicit CActRequest(const std::string& actionName);
    CActRequest(const std::string& actionName, const std::string& word);
    CActRequest(const std::string& actionName, float number);
    CActRequest(const std::string& actionName, float first, float second);
};

// The word a number becomes in a request ("%f", six decimals).
std::string NumberWord(float value);
