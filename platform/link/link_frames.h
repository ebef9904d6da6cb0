#pragma once
// Wire format of the link: a frame is {u32 length (little-endian), u8 type,
// payload of `length` bytes}; the server answers every request with one byte.
#include <cstdint>
#include <string>

namespace platform::link {

constexpr char kInit = 'I';       // payload "APPLICATION|TOPIC"
constexpr char kAdvise = 'A';     // payload: item name
constexpr char kPoke = 'P';       // payload: item, NUL, text
constexpr char kTerminate = 'T';  // no payload, no answer
constexpr char kAck = 0x06;
constexpr char kNak = 0x15;

constexpr uint32_t kMaxPayload = 1 << 20;
constexpr size_t kHeaderSize = 5;

std::string EncodeFrame(char type, const std::string& payload);

// Takes one complete frame off the front of `buffer`. Returns false when the
// buffer does not hold one yet; sets `bad` when the length is out of range.
bool DecodeFrame(std::string& buffer, char& type, std::string& payload, bool& bad);

// Upper-cased ASCII copy (names match without case).
std::string UpperName(const std::string& name);

}  // namespace platform::link
