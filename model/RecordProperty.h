#pragma once

#include <utility>

// Declares one property of a plain record: a getter named `name`, a setter named `setter`, and the member
// `_name` with its default. Object values (strings, images, shared records and lists) are stored as given, so a
// record set from another record's std::shared_ptr refers to the same object.
#define RECORD_PROPERTY(Type, name, setter, initial)                                                                   \
public:                                                                                                                \
    Type name() const {                                                                                                \
        return _##name;                                                                                                \
    }                                                                                                                  \
    void setter(Type value) {                                                                                          \
        _##name = std::move(value);                                                                                    \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    Type _##name = initial;
