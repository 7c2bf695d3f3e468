#include "shadow_map.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr int maxSide = 1 << 24;   // every cell coordinate is exact as a float

} // namespace

ShadowMap::ShadowMap(ShadowMap&& other) noexcept
    : front(std::move(other.front)),
      back(std::move(other.back)),
      width(std::exchange(other.width, 0)),
      height(std::exchange(other.height, 0)),
      position(std::exchange(other.position, 0)),
      rayStepX(other.rayStepX),
      rayStepY(other.rayStepY),
      darkFrom(std::move(other.darkFrom)),
      lastSegment(std::exchange(other.lastSegment, std::nullopt))
{
    other.darkFrom.clear();
}

ShadowMap& ShadowMap::operator=(ShadowMap&& other) noexcept
{
    if (this != &other) {
        front = std::move(other.front);
        back = std::move(other.back);
        width = std::exchange(other.width, 0);
        height = std::exchange(other.height, 0);
        position = std::exchange(other.position, 0);
        rayStepX = other.rayStepX;
        rayStepY = other.rayStepY;
        darkFrom = std::move(other.darkFrom);
        other.darkFrom.clear();
        lastSegment = std::exchange(other.lastSegment, std::nullopt);
    }
    return *this;
}

void ShadowMap::setSize(int w, int h)
{
    back.reset();
    front.reset();
    darkFrom.clear();
    lastSegment.reset();
    width = 0;
    height = 0;

    if (w < 0 || h < 0 || w > maxSide || h > maxSide) return;
    const long long cells = static_cast<long long>(w) * h;
    if (cells > 0x7fffffff) return;

    auto newFront = std::make_unique<uint8_t[]>(static_cast<std::size_t>(cells));
    auto newBack = std::make_unique<uint8_t[]>(static_cast<std::size_t>(cells));
    darkFrom.assign(static_cast<std::size_t>(w), h);
    front = std::move(newFront);
    back = std::move(newBack);
    width = w;
    height = h;
    swapAndClear();
}

void ShadowMap::swapAndClear()
{
    std::swap(front, back);
    clearFront();
}

void ShadowMap::clearFront()
{
    lastSegment.reset();
    if (!front) return;
    std::memset(front.get(), 0, static_cast<std::size_t>(width) * height);
    std::fill(darkFrom.begin(), darkFrom.end(), height);
}

uint8_t ShadowMap::readBack(int x, int y) const
{
    return back && inside(x, y) ? back[static_cast<std::size_t>(y) * width + x] : 0;
}

uint8_t ShadowMap::readFront(int x, int y) const
{
    return front && inside(x, y) ? front[static_cast<std::size_t>(y) * width + x] : 0;
}

void ShadowMap::setCell(int x, int y, uint8_t value)
{
    if (!front || !inside(x, y)) return;
    lastSegment.reset();
    front[static_cast<std::size_t>(y) * width + x] = value;
    if (value != 1 && y >= darkFrom[x]) darkFrom[x] = y + 1;
}

const uint8_t* ShadowMap::frontRow(int y) const
{
    return front ? front.get() + static_cast<std::size_t>(y) * width : nullptr;
}

void ShadowMap::begin() { position = 0; }
void ShadowMap::next() { ++position; }

bool ShadowMap::atEnd() const
{
    return position >= static_cast<long long>(width) * height;
}

int ShadowMap::currentX() const { return width > 0 ? position % width : 0; }
int ShadowMap::currentY() const { return width > 0 ? position / width : 0; }

uint8_t ShadowMap::currentValue() const
{
    return front && !atEnd() ? front[position] : 0;
}

void ShadowMap::setRayStep(float dx, float dy)
{
    rayStepX = dx;
    rayStepY = dy;
    lastSegment.reset();
}
