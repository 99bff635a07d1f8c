// Small vector-drawing kit for the sprites: colours, points and signed distances to shapes,
// evaluated one sample point at a time (the atlas averages many samples per texel).
#pragma once

struct Colour {
  double r, g, b; // 0 to 1
};

struct Point {
  double x, y;
};

constexpr Colour Black{0.0, 0.0, 0.0};

Colour Rgb(int red, int green, int blue);
// a where t is 0, b where t is 1.
Colour Mix(Colour a, Colour b, double t);
Colour Scaled(Colour c, double factor);

Point Rotated(Point p, Point centre, double degrees);

// Signed distances in pixels: negative inside, positive outside, 0 on the edge.
double CircleDistance(Point p, Point centre, double radius);
// An approximation that is exact on the axes, good enough for outlines and shading.
double EllipseDistance(Point p, Point centre, double rx, double ry);
// A line from a to b thickened to radius on both sides, with round ends.
double CapsuleDistance(Point p, Point a, Point b, double radius);

// |x / rx|^n + |y / ry|^n around centre: below 1 inside, 1 on the edge.
double SuperEllipseLevel(Point p, Point centre, double rx, double ry, double n);

// A filled shape with a darker rim: fill where distance < -rim, edge colour in the rim.
Colour Outlined(Colour under, double distance, double rim, Colour fill, Colour edge);
