// The log's time stamp: each piece is the local time of day as
// "HH:MM:SS" and four spaces, followed by the line as the engine sent it.
#pragma once

#include <ctime>
#include <string>

std::string StampLogPiece(const std::string& text, const std::tm& localTime);
std::string StampLogPieceNow(const std::string& text);

// True when the piece is transient: it ends in "\r" alone, so the next piece
// replaces it.
bool IsTransientPiece(const std::string& text);
