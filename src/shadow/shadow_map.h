#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// One byte per window pixel, 0 lit and non-zero shadowed, double-buffered:
// the front buffer receives this pass's shadows while the back buffer keeps
// the previous pass's complete map. Rays fall by the ray step, (0, 1) unless
// changed: straight down the window.
class ShadowMap {
public:
    ShadowMap() = default;
    ShadowMap(const ShadowMap&) = delete;
    ShadowMap& operator=(const ShadowMap&) = delete;
    // Takes the other map's buffers; the other is left unsized.
    ShadowMap(ShadowMap&& other) noexcept;
    ShadowMap& operator=(ShadowMap&& other) noexcept;

    // Allocates both buffers anew and clears the front one. Sizes that are
    // negative, above 2^24 a side or 2^31 - 1 cells leave the map without
    // buffers; so does a failed allocation, which then goes to the caller.
    void setSize(int width, int height);

    // Exchanges the buffers; the new front buffer is cleared.
    void swapAndClear();

    // Clears the front buffer; the back buffer stays as it is.
    void clearFront();

    // Cell (x, y) of the back buffer; 0 outside the grid or without buffers.
    uint8_t readBack(int x, int y) const;

    // Cell (x, y) of the front buffer; 0 outside the grid or without buffers.
    uint8_t readFront(int x, int y) const;

    // Stores value in cell (x, y) of the front buffer; nothing outside it.
    void setCell(int x, int y, uint8_t value);

    // Row y of the front buffer, width cells; null without buffers.
    const uint8_t* frontRow(int y) const;

    int getWidth() const { return width; }
    int getHeight() const { return height; }

    // Built-in iteration over the front buffer, row by row from the top.
    void begin();
    void next();
    bool atEnd() const;
    int currentX() const;
    int currentY() const;
    uint8_t currentValue() const;

    // Sets the step by which rays march.
    void setRayStep(float dx, float dy);

    // Marks every cell from (x, y) along the ray step to the grid's edge, or
    // until the ray no longer moves; a start outside the grid marks nothing.
    void castRay(int x, int y);

    // Casts count rays from points one unit apart, from (x, y) along heading.
    // The same segment cast again straight after marks nothing new and is
    // skipped.
    void castSegment(int x, int y, float heading, int count);

private:
    bool inside(int x, int y) const { return x >= 0 && x < width && y >= 0 && y < height; }
    void fillDown(int x, int y);
    void march(int x, int y);

    std::unique_ptr<uint8_t[]> front;
    std::unique_ptr<uint8_t[]> back;
    int width = 0;
    int height = 0;
    int position = 0;
    float rayStepX = 0.0f;
    float rayStepY = 1.0f;

    // Per column of the front buffer, the top row of the run of cells that
    // hold 1 down to the bottom row (height when there is none). A ray
    // falling straight down from at or below it has nothing left to mark.
    std::vector<int> darkFrom;

    // The last segment cast into the front buffer, while no cell has been
    // set, no ray step changed and no buffer swapped since.
    struct Segment {
        int x, y;
        float heading;
        int count;

        bool operator==(const Segment& o) const
        {
            return x == o.x && y == o.y && heading == o.heading && count == o.count;
        }
    };
    std::optional<Segment> lastSegment;
};
