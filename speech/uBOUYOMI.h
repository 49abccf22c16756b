#pragma once

#include <cstdint>
#include <string>

// The link to the Bouyomi-chan reading program: one command packet per text,
// each on its own TCP connection to 127.0.0.1.

// The text in the ANSI code page, without a terminating zero; a character the
// code page lacks becomes its default character.
std::string TextToAnsiBytes(const std::u16string &text);

// The 15-byte header of a "read aloud" command for a message of n bytes.
std::string BouyomiHeader(std::uint32_t n);

// Creates the client (host 127.0.0.1, the given port; 50001 in the program).
void BouyomiCreateClient(std::uint16_t port = 50001);
// Releases it; a later BouyomiSend returns false.
void BouyomiReleaseClient();

// Sends the text as one packet; false when there is no client or the
// connection or a write fails.
bool BouyomiSend(const std::u16string &text);
