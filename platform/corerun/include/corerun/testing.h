// Controls of the base-library stand-in for tests, the demo and benchmarks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace corerun::testing {

// Everything written by ERROR_lprintf, ERROR_note and RDEBUG_print_message.
const std::string& log();
void clear_log();
// Also copy log output to a stream (the demo uses stderr); null stops it.
void echo_log(std::FILE* stream);
// Keeps the log from growing, for benchmarks.
void set_log_enabled(bool enabled);

// Fixes the text ERROR_timestamp answers; an empty text lets it tell the time again.
void set_timestamp(const std::string& text);

void set_debug_flag(const std::string& name, bool on);
void clear_debug_flags();

// POSIX_sleep records its argument instead of waiting.
const std::vector<int>& sleeps();
void clear_sleeps();

// CLOCK_gmt and CLOCK_local_offset answer these until cleared.
void set_clock(std::int64_t gmt, int local_offset_minutes);
void clear_clock();

// The next name CFI_create_unique_filename answers; empty for its own.
void set_next_unique_filename(const std::string& name);

long sm_live_blocks();
// Blocks of Orvane::Memory::CppMemory not yet freed.
long cpp_live_blocks();

// Back to the state of a fresh process: empty log, no debug flags, no
// sleeps, the real clock, checking level 0. Allocation counts stay.
void reset();

}  // namespace corerun::testing
