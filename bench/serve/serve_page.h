// The page `corvan-bench serve` hands out: plain HTML, CSS and JavaScript in one document, with
// nothing fetched from elsewhere.
#pragma once

#include <string>

namespace bench {

const std::string& serve_page_html();

}  // namespace bench
