// The two escapings: order of the replacements, entities escaped again, and
// the double quote, which only the legacy form touches.
#include "xml/escaping.h"

#include <gtest/gtest.h>

namespace mx {
namespace {

TEST(EscapingTest, AmpersandFirstEntitiesAgainQuotesOnlyInLegacyForm) {
  EXPECT_EQ(EscapeThreeEntities("a<&b>\"c\"'"), "a&lt;&amp;b&gt;\"c\"'");
  EXPECT_EQ(EscapeThreeEntities("x &gt; 1 &amp;"), "x &amp;gt; 1 &amp;amp;");
  EXPECT_EQ(Escape_XML_Text("a<&b>\"c\"'"), "a&lt;&amp;b&gt;&quot;c&quot;'");
  EXPECT_EQ(Escape_XML_Text("&quot;\xE9"), "&amp;quot;\xE9");
}

}  // namespace
}  // namespace mx
