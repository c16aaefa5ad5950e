#include "ui/kit/commands.h"

#include <QHash>

#include <cstddef>

namespace doxel {
namespace {

template <typename Value>
std::optional<Value> lookUp(const QString& name)
{
    static const QHash<QString, Value> byName = [] {
        QHash<QString, Value> all;
        for (std::size_t n = 0; n < std::size_t(Value::Count); ++n)
            all.insert(QString::fromLatin1(objectName(static_cast<Value>(n))), static_cast<Value>(n));
        return all;
    }();
    const auto found = byName.constFind(name);
    if (found == byName.constEnd())
        return std::nullopt;
    return *found;
}

}  // namespace

std::optional<Command> commandNamed(const QString& name)
{
    return lookUp<Command>(name);
}

std::optional<Menu> menuNamed(const QString& name)
{
    return lookUp<Menu>(name);
}

}  // namespace doxel
