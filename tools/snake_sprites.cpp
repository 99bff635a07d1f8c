// The snake's sprites, seen from above: a body segment that meets all four cell edges so that a
// chain reads as one animal, four heads facing their way, and a head with its mouth wide open.
#include <algorithm>
#include <cmath>

#include "tools/sprite_designs.h"

namespace {

const Colour SkinLight = Rgb(160, 230, 95);
const Colour Skin = Rgb(70, 170, 55);
const Colour SkinDark = Rgb(30, 105, 40);
const Colour Rim = Rgb(12, 55, 20);
const Colour Scale = Rgb(205, 220, 70);
const Colour EyeWhite = Rgb(250, 250, 235);
const Colour Pupil = Rgb(10, 10, 10);
const Colour Tongue = Rgb(225, 30, 55);

// Segment outline: |a / Reach|^3 + |b / Reach|^3 = 1 in coordinates normalised to -1..1 across
// the cell; a Reach above 1 makes it cross each edge over a wide stretch around the midpoint.
constexpr double Exponent = 3.0;
constexpr double Reach = 1.12;
constexpr double RimLevel = 0.93;
constexpr double SnoutReach = 0.68;

// A point in a sprite's own frame: a along the facing direction, b across it, both -1..1.
struct Local {
  double a, b;
};

Point Facing(int dx, int dy) {
  return {static_cast<double>(dx), static_cast<double>(dy)};
}
double HalfAlong(Point forward) {
  return forward.x != 0 ? 20.0 : 15.0;
}
double HalfAcross(Point forward) {
  return forward.x != 0 ? 15.0 : 20.0;
}

Local ToLocal(Point p, Point forward) {
  const double dx = p.x - 20.0, dy = p.y - 15.0;
  return {(dx * forward.x + dy * forward.y) / HalfAlong(forward),
          (dy * forward.x - dx * forward.y) / HalfAcross(forward)};
}

Point FromLocal(double a, double b, Point forward) {
  const double along = a * HalfAlong(forward), across = b * HalfAcross(forward);
  return {20.0 + along * forward.x - across * forward.y,
          15.0 + along * forward.y + across * forward.x};
}

double Level(double a, double b, double aReach) {
  return std::pow(std::fabs(a) / aReach, Exponent) + std::pow(std::fabs(b) / Reach, Exponent);
}

// The head keeps the segment's outline behind the eyes and tapers to a rounded snout in front.
double HeadLevel(Local l) {
  if (l.a <= 0)
    return Level(l.a, l.b, Reach);
  const double x = l.a / SnoutReach;
  const double width = Reach * (1.0 - 0.3 * x * x);
  return std::pow(x, 2.4) + std::pow(std::fabs(l.b) / width, Exponent);
}

// Rounded and lit from the top left: light along the spine, dark toward the flanks, dark rim.
Colour SkinAt(double level, Point p) {
  if (level > RimLevel)
    return Rim;
  const double depth = 1.0 - level / RimLevel;
  Colour c = Mix(SkinDark, Skin, depth * 2.2);
  const double glow = 1.0 - std::hypot((p.x - 13.0) / 11.0, (p.y - 8.0) / 7.0);
  return Mix(c, SkinLight, glow * 0.8);
}

// A diamond of lighter scales with a dark edge, the snake's pattern.
Colour WithDiamond(Colour under, Local l, double size) {
  const double d = std::fabs(l.a) / size + std::fabs(l.b) / (size * 1.1);
  if (d > 1.0)
    return under;
  if (d > 0.78)
    return Mix(under, Rim, 0.75);
  return Mix(under, Scale, 0.55 + 0.25 * (1.0 - d));
}

Colour Eye(Colour under, Point p, Point centre, Point look) {
  const double radius = 4.2;
  const double d = CircleDistance(p, centre, radius);
  if (d >= 0)
    return under;
  if (d > -0.8)
    return Rim;
  const Point pupil{centre.x + look.x * 1.5, centre.y + look.y * 1.5};
  if (CircleDistance(p, {pupil.x - 0.8, pupil.y - 0.9}, 0.75) < 0)
    return EyeWhite; // glint
  return CircleDistance(p, pupil, 2.3) < 0 ? Pupil : EyeWhite;
}

// A forked tongue from the snout to just short of the cell edge.
Colour WithTongue(Colour under, Point p, Point forward) {
  const double snout = SnoutReach * HalfAlong(forward);
  const double tip = HalfAlong(forward) - 1.0;
  const double fork = snout + (tip - snout) * 0.5;
  const Point base = FromLocal((snout - 2.0) / HalfAlong(forward), 0.0, forward);
  const Point split = FromLocal(fork / HalfAlong(forward), 0.0, forward);
  const double prong = 2.0 / HalfAcross(forward);
  double d = CapsuleDistance(p, base, split, 0.9);
  for (double side : {-1.0, 1.0})
    d = std::min(d, CapsuleDistance(
                        p, split, FromLocal(tip / HalfAlong(forward), side * prong, forward), 0.7));
  return d < 0 ? Tongue : under;
}

Colour PaintHead(Point p, Point forward) {
  const Local l = ToLocal(p, forward);
  const double level = HeadLevel(l);
  if (level > 1.0)
    return WithTongue(Black, p, forward);
  Colour c = SkinAt(level, p);
  for (double side : {-1.0, 1.0}) {
    c = Eye(c, p, FromLocal(0.02, side * 0.5, forward), forward);
    if (CircleDistance(p, FromLocal(SnoutReach - 0.12, side * 0.15, forward), 0.85) < 0)
      c = Rim; // nostril
  }
  return c;
}

} // namespace

Colour PaintBody(Point p) {
  const Local l = ToLocal(p, Facing(1, 0));
  const double level = Level(l.a, l.b, Reach);
  if (level > 1.0)
    return Black;
  const Colour c = SkinAt(level, p);
  return level > RimLevel ? c : WithDiamond(c, l, 0.5);
}

Colour PaintHeadRight(Point p) {
  return PaintHead(p, Facing(1, 0));
}
Colour PaintHeadUp(Point p) {
  return PaintHead(p, Facing(0, -1));
}
Colour PaintHeadLeft(Point p) {
  return PaintHead(p, Facing(-1, 0));
}
Colour PaintHeadDown(Point p) {
  return PaintHead(p, Facing(0, 1));
}

// Shown whatever the direction, so it faces the player: eyes up top, mouth wide open below.
Colour PaintHeadEating(Point p) {
  const Local l = ToLocal(p, Facing(1, 0));
  const double level = Level(l.a, l.b, Reach);
  if (level > 1.0)
    return Black;
  Colour c = SkinAt(level, p);
  c = Eye(c, p, {12.5, 8.5}, {0.0, 0.4});
  c = Eye(c, p, {27.5, 8.5}, {0.0, 0.4});
  const Point mouth{20.0, 19.5};
  const double d = EllipseDistance(p, mouth, 10.5, 7.0);
  if (d >= 0)
    return c;
  if (d > -0.9)
    return Rim;
  for (double x : {14.5, 25.5}) {
    // Fangs hang from the upper lip.
    const double drop = p.y - (mouth.y - 6.5);
    if (drop > 0 && drop < 4.5 && std::fabs(p.x - x) < 1.6 * (1.0 - drop / 4.5))
      return EyeWhite;
  }
  if (EllipseDistance(p, {20.0, 24.0}, 6.5, 3.2) < 0)
    return Mix(Tongue, Rgb(255, 140, 150), (24.0 - p.y) / 6.0);
  return Mix(Rgb(120, 10, 25), Rgb(50, 0, 10), (p.y - 12.5) / 9.0);
}
