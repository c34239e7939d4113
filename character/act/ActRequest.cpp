#include "character/act/ActRequest.h"

#include <cstdio>

std::string NumberWord(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

CActRequest::CActRequest(const std::string& actionName) : name(actionName) {}

CActRequest::CActRequest(const std::string& actionName, const std::string& word) : name(actionName), words{word} {}

CActRequest::CActRequest(const std::string& actionName, float number) : name(actionName), words{NumberWord(number)} {}

CActRequest::CActRequest(const std::string& actionName, float first, float second)
    : name(actionName),
      words{NumberWord(first), NumberWord(second)} {}
