// Member types (PMEMB type) the design data reads by number.
#pragma once

namespace designmember {

inline constexpr int kColumnType = 101;  // PMEMB type of a column

}  // namespace designmember
