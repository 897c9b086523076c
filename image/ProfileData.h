#pragma once
// The configuration a profile file carries, field by field: the recipients and flags of the
// 16 input events, the 8 output rows, the alarm input, the power-on message, and the phone
// book. It sits between the store and the image: a save reads it from the store and builds
// the image from it; the JSON form of the command-line tool reads and writes it.
#include <QString>
#include <array>
#include <cstdint>

struct ProfileData {
    struct Input {
        std::uint8_t recipients = 0; // bit k = user k+1
        bool alarm = false; // this edge triggers the alarm input
        QString text;
        bool operator==(const Input&) const = default;
    };
    struct Output {
        std::uint8_t recipients = 0;
        bool defaultState = false;
        QString text;
        bool operator==(const Output&) const = default;
    };
    struct AlarmInput {
        std::uint8_t recipients = 0;
        int delay = 0; // 0..255 (minutes)
        QString text;
        bool operator==(const AlarmInput&) const = default;
    };
    struct PowerOn {
        std::uint8_t recipients = 0;
        QString text;
        bool operator==(const PowerOn&) const = default;
    };
    struct User {
        QString name; // null: none
        QString number; // null: none
        QString password; // stored only when it has exactly four characters
        bool op = false;
        bool active = false;
        bool operator==(const User&) const = default;
    };
    std::array<Input, 16> inputs;
    std::array<Output, 8> outputs;
    AlarmInput alarmInput;
    PowerOn powerOn;
    std::array<User, 8> users;

    bool operator==(const ProfileData&) const = default;
};
