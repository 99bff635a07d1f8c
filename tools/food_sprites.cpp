// The three foods, each a different colour and outline so that they tell apart at a glance:
// a red apple, a yellow banana and a bunch of purple grapes, on black.
#include <algorithm>
#include <cmath>

#include "tools/sprite_designs.h"

namespace {

const Colour Stalk = Rgb(110, 70, 30);
const Colour Leaf = Rgb(60, 170, 50);
const Colour LeafDark = Rgb(25, 90, 30);
const Colour Shine = Rgb(255, 255, 245);

// A leaf: an ellipse turned by degrees, with a darker midrib.
Colour WithLeaf(Colour under, Point p, Point centre, double length, double width, double degrees) {
  const Point q = Rotated(p, centre, -degrees);
  const double d = EllipseDistance(q, centre, length, width);
  if (d >= 0)
    return under;
  if (d > -0.6 || std::fabs(q.y - centre.y) < 0.35)
    return LeafDark;
  return Leaf;
}

// A round fruit lit from the top left: light spot, body colour, darker toward the far edge.
Colour Shaded(Point p, Point centre, double radius, Colour light, Colour body, Colour dark) {
  const double fromLight =
      std::hypot(p.x - (centre.x - 0.35 * radius), p.y - (centre.y - 0.4 * radius));
  Colour c = Mix(light, body, fromLight / (0.7 * radius));
  return Mix(c, dark, (fromLight - 0.9 * radius) / (0.8 * radius));
}

} // namespace

Colour PaintApple(Point p) {
  Colour c = Black;
  c = Outlined(c, CapsuleDistance(p, {20.0, 9.0}, {21.5, 3.2}, 1.1), 0.0, Stalk, Stalk);
  // Two overlapping lobes make the apple's shoulders and the dip at the stalk.
  const double lobes =
      std::min(CircleDistance(p, {16.2, 16.5}, 9.3), CircleDistance(p, {23.8, 16.5}, 9.3));
  const double body = std::min(lobes, EllipseDistance(p, {20.0, 19.5}, 10.5, 8.5));
  if (body < 0) {
    const Point centre{20.0, 17.0};
    c = body > -0.8
            ? Rgb(90, 0, 10)
            : Shaded(p, centre, 11.0, Rgb(255, 120, 110), Rgb(215, 25, 30), Rgb(120, 5, 15));
    if (EllipseDistance(Rotated(p, {14.0, 12.0}, -30.0), {14.0, 12.0}, 2.6, 1.4) < 0)
      c = Mix(c, Shine, 0.8);
  }
  return WithLeaf(c, p, {26.0, 5.5}, 4.6, 1.9, -25.0);
}

Colour PaintBanana(Point p) {
  // A crescent: inside one circle and outside another shifted up, turned a little.
  const Point q = Rotated(p, {20.0, 15.0}, 12.0);
  const double outer = CircleDistance(q, {20.0, 5.0}, 20.0);
  const double inner = -CircleDistance(q, {20.0, -10.0}, 26.0);
  const double d = std::max(std::max(outer, inner), std::fabs(q.x - 20.0) - 16.5);
  if (d >= 0)
    return CapsuleDistance(q, {35.5, 12.0}, {38.0, 8.5}, 1.1) < 0 ? Stalk : Black;
  if (std::fabs(q.x - 20.0) > 14.6)
    return Rgb(70, 45, 15); // the dark tips
  if (d > -0.8)
    return Rgb(150, 95, 0);
  // Darker along the inner curve, bright along the outer back.
  const double across = std::clamp(-outer / 7.0, 0.0, 1.0);
  Colour c = Mix(Rgb(255, 240, 120), Rgb(240, 190, 20), across);
  if (std::fabs(-outer - 2.0) < 0.8 && std::fabs(q.x - 20.0) < 10.0)
    c = Mix(c, Shine, 0.55);
  return c;
}

Colour PaintGrapes(Point p) {
  Colour c = Black;
  c = Outlined(c, CapsuleDistance(p, {20.5, 7.0}, {22.0, 2.5}, 1.0), 0.0, Stalk, Stalk);
  c = WithLeaf(c, p, {15.5, 4.8}, 4.2, 1.8, 20.0);
  // Drawn bottom row first so that the upper grapes overlap the lower ones.
  const Point grapes[] = {{20.5, 24.0}, {16.5, 18.5}, {24.5, 18.5},
                          {12.5, 12.0}, {20.5, 12.0}, {28.5, 12.0}};
  for (const Point &g : grapes) {
    const double d = CircleDistance(p, g, 4.4);
    if (d < 0)
      c = d > -0.7 ? Rgb(35, 0, 50)
                   : Shaded(p, g, 4.4, Rgb(205, 140, 240), Rgb(120, 40, 170), Rgb(60, 10, 90));
  }
  return c;
}
