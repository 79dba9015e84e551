// The program's names as its users see them, in one place: window titles,
// message-box captions, the per-user settings' key and the maker's
// addresses. The engines quote the maker's web address in every file they
// write, so the names live with the contract that every part may include.
#pragma once

// The product, in titles.
inline constexpr char kProductName[] = "Clipwright";
// The main window's title.
inline constexpr char kFrameTitle[] = "Clipwright 1.01";
// The application's own name: the window framework captions its message
// boxes with it, and it names the per-user settings.
inline constexpr char kAppName[] = "reelsmith";
// The maker, as the per-user settings name it.
inline constexpr char kMakerName[] = "korvane";
// Quoted in the welcome line, the install hint, the About box and every
// output file's description tag.
inline constexpr char kMakerWebAddress[] = "https://clipwright.example.org";
inline constexpr char kMakerContact[] = "support@clipwright.example.org";
