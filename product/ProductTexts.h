#pragma once
// The longer fixed texts the wizard shows in its memos, kept in one place: the
// maker's legal statement on the disclaimer page and the version notice that
// the choice page shows. Lines are joined by "\r\n", as a multi-line text box
// expects them.

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

}  // namespace vorpane::product
