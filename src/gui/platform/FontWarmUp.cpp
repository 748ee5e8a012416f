#include "platform/FontWarmUp.h"

#ifdef ZX_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace zx {

FontWarmUp::FontWarmUp()
{
#ifdef ZX_HAVE_FONTCONFIG
    // fontconfig builds its configuration once per process and publishes it atomically, so the
    // UI thread may safely ask for it at any time; it only repeats the work if it comes first.
    thread_ = std::thread([] { FcInit(); });
#endif
}

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::wait()
{
    if (thread_.joinable())
        thread_.join();
}

} // namespace zx
