// Colour arithmetic and shape distances for the sprite painters.
#include "tools/sprite_paint.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double Pi = 3.14159265358979323846;
}

Colour Rgb(int red, int green, int blue) {
  return {red / 255.0, green / 255.0, blue / 255.0};
}

Colour Mix(Colour a, Colour b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Scaled(Colour c, double factor) {
  return {std::clamp(c.r * factor, 0.0, 1.0), std::clamp(c.g * factor, 0.0, 1.0),
          std::clamp(c.b * factor, 0.0, 1.0)};
}

Point Rotated(Point p, Point centre, double degrees) {
  const double angle = degrees * Pi / 180.0;
  const double c = std::cos(angle), s = std::sin(angle);
  const double dx = p.x - centre.x, dy = p.y - centre.y;
  return {centre.x + c * dx - s * dy, centre.y + s * dx + c * dy};
}

double CircleDistance(Point p, Point centre, double radius) {
  return std::hypot(p.x - centre.x, p.y - centre.y) - radius;
}

double EllipseDistance(Point p, Point centre, double rx, double ry) {
  const double nx = (p.x - centre.x) / rx, ny = (p.y - centre.y) / ry;
  return (std::hypot(nx, ny) - 1.0) * std::min(rx, ry);
}

double CapsuleDistance(Point p, Point a, Point b, double radius) {
  const double abx = b.x - a.x, aby = b.y - a.y;
  const double length2 = abx * abx + aby * aby;
  double t = length2 > 0 ? ((p.x - a.x) * abx + (p.y - a.y) * aby) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * abx), p.y - (a.y + t * aby)) - radius;
}

double SuperEllipseLevel(Point p, Point centre, double rx, double ry, double n) {
  return std::pow(std::fabs(p.x - centre.x) / rx, n) + std::pow(std::fabs(p.y - centre.y) / ry, n);
}

Colour Outlined(Colour under, double distance, double rim, Colour fill, Colour edge) {
  if (distance >= 0)
    return under;
  return distance < -rim ? fill : edge;
}
