#pragma once

#include <string>

// Fills the single %s or %d of a message format.
std::string formatMessage(const char* format, const std::string& argument);
std::string formatMessage(const char* format, int argument);
