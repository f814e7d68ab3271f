#pragma once
// The longer fixed texts the wizard shows, kept in one place: the maker's
// legal statement on the disclaimer page and the version notice that the
// choice page shows (lines joined by "\r\n", as a multi-line text box expects
// them), and the explanations the wizard puts on the directory and search
// pages (lines broken by a bare "\r").

namespace vorpane::product {

// Twenty-one lines.
inline constexpr const char* kLegalStatement =
    "Vorpane is copyright of the Vorpane team. All rights reserved.\r\n"
    "The Vorpane team keeps every right on the program, its\r\n"
    "network protocol, its documentation and its data files.\r\n"
    "\r\n"
    "You may use Vorpane free of charge, for private and for\r\n"
    "commercial purposes, on as many computers as you like.\r\n"
    "You may copy and distribute Vorpane, provided that you\r\n"
    "distribute the unmodified installation program only and\r\n"
    "charge nothing for it beyond the cost of the medium.\r\n"
    "\r\n"
    "You may not modify Vorpane, nor reverse compile or otherwise\r\n"
    "reverse engineer it, nor decrypt the network traffic or the\r\n"
    "data files that Vorpane creates, nor help others to do so.\r\n"
    "\r\n"
    "Vorpane is provided \"as is\", without any warranty. The\r\n"
    "Vorpane team is not liable for any damage or loss caused\r\n"
    "by using Vorpane or by the files you share with it. You\r\n"
    "alone are responsible for what you share and download.\r\n"
    "\r\n"
    "This statement is governed by the law of the country in\r\n"
    "which the Vorpane team is established.";

inline constexpr const char* kVersionNotice =
    "Vorpane 3.31\r\n"
    "\r\n"
    "What is new in this version:\r\n"
    "- faster searches on the encrypted network\r\n"
    "- downloads resume after the computer restarts\r\n"
    "- less memory for large shared folders\r\n"
    "- many small fixes\r\n"
    "\r\n"
    "Already using Vorpane? Choose \"Upgrade an existing\r\n"
    "installation\": your settings, downloads and cache\r\n"
    "stay as they are.";

// The explanations of the directory pages and the upgrade search.
inline constexpr const char* kInstallDirExplanation =
    "The installation directory is the directory\ron your harddisk where Vorpane program files\rand the "
    "Vorpane data file will be placed.\r\rIn most common cases the directory proposed\ris the best place "
    "and you can just press\rthe \"next\" button, otherwise choose a directory.";
inline constexpr const char* kDownloadDirExplanation =
    "The download directory is the directory\ron your harddisk where Vorpane puts the\rdownloaded files "
    "when they are completed.\r\rIn most common cases the directory proposed\ris the best place and you "
    "can just press\rthe \"next\" button, otherwise choose a directory.";
inline constexpr const char* kCacheDirExplanation =
    "The cache directory is the directory\ron your harddisk where Vorpane puts the\ralready downloaded "
    "parts of files which\rare not completed yet. Vorpane manages the\rcontent of the directory itself. "
    "It is\rimportant to put it on a disk with enough\rfree space.\r\rBE AWARE: Vorpane places and "
    "deletes files\rin this directory, do not use this directory\rfor any other purpose. Your files in "
    "this \rdirectory might disappear.\r\rIn most common cases the directory proposed\ris the best place "
    "and you can just press\rthe \"next\" button, otherwise choose a directory.";
inline constexpr const char* kSearchExplanation =
    "Now searching for installed Vorpane versions on your hard disks.\rThis can take a few moments.";

}  // namespace vorpane::product
