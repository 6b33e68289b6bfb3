// NoCurrentContext: while it lives, the test's GL context is not current, so GL
// calls go nowhere and object generators hand out the name 0. Restores the
// context on destruction.
#pragma once

namespace testgl {

class NoCurrentContext {
public:
    NoCurrentContext();
    ~NoCurrentContext();
    NoCurrentContext(const NoCurrentContext&) = delete;
    NoCurrentContext& operator=(const NoCurrentContext&) = delete;

    bool detached() const;

private:
    struct Saved;
    Saved* m_saved;
    bool m_detached = false;
};

}  // namespace testgl
