#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Lib/uRegEx.h"

// The replacement template of a dictionary rule: "$1", "\U1", "${name}"...
// Parsed once against the rule's pattern, then expanded for every match.
class TReplaceTemplate {
public:
  TReplaceTemplate() = default;
  TReplaceTemplate(std::u16string_view templ, const TRegEx &regex);

  // Appends the expansion for one match to out, stopping early once out is
  // longer than maxLength.
  void Expand(const TRegExMatch &match, std::u16string &out,
              std::size_t maxLength = std::u16string::npos) const;

  // How "\U1", "\L1", "\F1" and "\I1" change a group's letters.
  enum class TCase { Keep, Upper, Lower, First, Words };

private:
  enum class TKind { Text, Group, Before, After, Subject };
  struct TPart {
    TKind Kind = TKind::Text;
    std::u16string Text;
    // The candidate groups: one number, or every group of a duplicated name;
    // empty when the pattern has no such group.
    std::vector<int> Groups;
    TCase Case = TCase::Keep;
  };

  void AddText(std::u16string_view text);
  void AddGroups(std::vector<int> groups, int groupCount, TCase letterCase = TCase::Keep);

  std::vector<TPart> FParts;
};
