#pragma once

// The maker's texts that the program shows: one place for the copyright caption, the site's name (button
// and tray menu) and the address the site command opens. The tray menu's caption in chronel.rc repeats the
// name; a test checks that the two agree.
inline constexpr const char* MakerCopyright = "© 2026 Merovia";
inline constexpr const char* MakerSiteName = "www.merovia.fr";
inline constexpr const char* MakerSiteAddress = "http://www.merovia.fr/";
