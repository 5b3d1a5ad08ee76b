#pragma once

#include <gumbo.h>

// Classes of tags that the depth scan and the serialiser share.
namespace HtmlTags {

// Void elements: no content and no end tag, whatever the markup says.
bool isVoid(GumboTag tag);

}  // namespace HtmlTags
