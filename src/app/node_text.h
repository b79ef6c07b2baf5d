#pragma once
// Texts of the network tree's nodes and how a node's text is read back into the
// record it stands for. The tree carries no other link to the tables, so these two
// directions must agree exactly.
#include <cstdint>
#include <string>

enum class NodeKind { None = 0, Bc = 1, Al = 2, Pd = 3 };

std::string PdNodeText(int adr);              // "ПД:250"
std::string BcNodeText(int adr);              // "БС:238"
std::string AlNodeText(int prt, int zone);    // "АЛ:3:Зона:346"

// Tested in this order on the text: "ПД:" then "БС:" then "АЛ:"; anything else is None.
NodeKind NodeKindOfText(const std::string &text);
// The number written after `prefix` (up to its first non-digit), 0 when the prefix
// is missing or no digit follows.
int NumberAfterPrefix(const std::string &text, const char *prefix);
