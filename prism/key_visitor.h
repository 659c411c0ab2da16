// A walk over a settings record's keys from outside the store: every key in
// file order with its section and a reference to its field. The prism tool
// lists, sets, exports and imports settings through it.
#pragma once

#include "ini_file.h"

class KeyVisitor {
public:
    virtual void operator()(const char* section, const char* key, int& value) = 0;
    virtual void operator()(const char* section, const char* key, double& value) = 0;
    virtual void operator()(const char* section, const char* key, char (&value)[kIniPathCapacity]) = 0;

protected:
    ~KeyVisitor() = default;
};
