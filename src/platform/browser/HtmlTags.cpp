#include "platform/browser/HtmlTags.h"

namespace HtmlTags {

bool isVoid(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_AREA:
        case GUMBO_TAG_BASE:
        case GUMBO_TAG_BASEFONT:
        case GUMBO_TAG_BGSOUND:
        case GUMBO_TAG_BR:
        case GUMBO_TAG_COL:
        case GUMBO_TAG_EMBED:
        case GUMBO_TAG_FRAME:
        case GUMBO_TAG_HR:
        case GUMBO_TAG_IMG:
        case GUMBO_TAG_INPUT:
        case GUMBO_TAG_KEYGEN:
        case GUMBO_TAG_LINK:
        case GUMBO_TAG_META:
        case GUMBO_TAG_PARAM:
        case GUMBO_TAG_SOURCE:
        case GUMBO_TAG_TRACK:
        case GUMBO_TAG_WBR:
            return true;
        default:
            return false;
    }
}

}  // namespace HtmlTags
