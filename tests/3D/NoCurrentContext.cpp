// Detaching and re-attaching the test context through GLX. Kept apart from the
// other test sources: X11's Window typedef clashes with the engine's Window class.
#include "3D/NoCurrentContext.h"

#include <GL/glew.h>
#include <GL/glx.h>

namespace testgl {

struct NoCurrentContext::Saved {
    Display* display;
    GLXDrawable drawable;
    GLXContext context;
};

NoCurrentContext::NoCurrentContext()
    : m_saved(new Saved{glXGetCurrentDisplay(), glXGetCurrentDrawable(), glXGetCurrentContext()})
{
    m_detached = m_saved->display != nullptr && m_saved->context != nullptr &&
                 glXMakeCurrent(m_saved->display, None, nullptr);
}

NoCurrentContext::~NoCurrentContext()
{
    if (m_detached)
        glXMakeCurrent(m_saved->display, m_saved->drawable, m_saved->context);
    delete m_saved;
}

bool NoCurrentContext::detached() const
{
    return m_detached;
}

}  // namespace testgl
