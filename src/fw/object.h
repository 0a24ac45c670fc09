#pragma once
// Root of the framework's class tree. Update hints carry an Object pointer, and a
// view asks with IsKindOf whether it points at the kind of object it can show.

namespace fw {

class Object {
public:
    Object() = default;
    Object(const Object&) = default;
    Object(Object&&) noexcept = default;
    Object& operator=(const Object&) = default;
    Object& operator=(Object&&) noexcept = default;
    virtual ~Object() = default;

    // True when this object is a T or derives from T.
    template <class T> bool IsKindOf() const { return dynamic_cast<const T*>(this) != nullptr; }
};

// The same test on a pointer that may be null (false then).
template <class T> bool IsKindOf(const Object* object) {
    return object != nullptr && object->IsKindOf<T>();
}

} // namespace fw
