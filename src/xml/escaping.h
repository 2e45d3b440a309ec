// The escaping of element text as the document builders know it; it lives
// with the platform helpers (platform/xml_escaping.h) so that the layers
// below the documents escape the same way.
#ifndef MX_XML_ESCAPING_H_
#define MX_XML_ESCAPING_H_

#include "platform/xml_escaping.h"

#endif  // MX_XML_ESCAPING_H_
