#pragma once

// Small pieces the Qt backend's files share.

#include <QString>
#include <string_view>

namespace kx::ui::qt {

// The property that carries a widget's control id.
inline constexpr char kIdProperty[] = "kxId";

// The program's texts are UTF-8.
inline QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace kx::ui::qt
