// Sheet placement: input column, term band, output column, flip-flop column, output ports.
// Routing: flip-flop stubs, literal buses, tree wires, output buses, flip-flop input tracks,
// clock/reset/preset/test buses, scan path and state outputs. Block symbol lines.
#include "SheetDrawing.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace quorlet {
namespace {

std::string Num(int v) { return std::to_string(v); }

class SheetBuilder {
public:
    SheetBuilder(const MinimizedCover& cover, const GateLibrary& library, std::vector<Gate>& gates,
                 const SheetParams& params)
        : cover_(cover), library_(library), gates_(gates), p_(params), G(params.gridUnit)
    {
        X0 = params.leftMargin;
        Y0 = cover.FlipFlopCount * params.topPerFlipFlop + params.topBase;
        result_.ports.LeftPinCount = cover.NumInputs - std::min(cover.FlipFlopCount, cover.NumInputs);
        result_.ports.RightPinCount = cover.NumOutputs - std::min(ExcitationCount(cover), cover.NumOutputs);
    }

    SheetResult Run()
    {
        Place();
        if (!result_.error) Route();
        return std::move(result_);
    }

private:
    const MinimizedCover& cover_;
    const GateLibrary& library_;
    std::vector<Gate>& gates_;
    SheetParams p_;
    const int G;
    int X0 = 0, Y0 = 0;
    SheetResult result_;
    SheetPoint pen_;
    int instances_ = 0;
    int outputRight_ = 0;  // right edge of the output column
    int XR = 0;
    std::vector<int> roots_;                  // root gate of each output, in output order
    std::map<std::size_t, SheetPoint> feed_;  // feed point by gate index

    // ---- components and pins ----
    const LibraryComponent* Component(const Gate& g) const
    {
        return FindComponent(library_, ComponentKindName(g.Kind));
    }
    bool IsDummy(const Gate& g) const { return ComponentKindName(g.Kind) == "DUMMY"; }

    SheetPoint Size(const Gate& g) const
    {
        if (const LibraryComponent* c = Component(g)) return {c->Size.x, c->Size.y};
        return IsDummy(g) ? SheetPoint{32, 32} : SheetPoint{0, 0};
    }
    int InputPinCount(const Gate& g) const
    {
        if (const LibraryComponent* c = Component(g)) return c->NumInputPins;
        return IsDummy(g) ? 1 : 0;
    }

    SheetPoint PinAt(const Gate& g, LibraryPoint offset) const
    {
        if (!Component(g)) return IsDummy(g) ? SheetPoint{g.X, g.Y} : SheetPoint{0, 0};
        if (g.Stage == stage::FlipFlop || g.Stage == stage::ControlPort || g.Stage == stage::StatePort)
            return {g.X - offset.x, g.Y - offset.y};
        if (IsTermStage(g.Stage)) return {g.X + offset.y, g.Y + offset.x};
        return {g.X + offset.x, g.Y - offset.y};
    }
    SheetPoint InputPin(const Gate& g, int k) const
    {
        const LibraryComponent* c = Component(g);
        return PinAt(g, c ? c->InputPins[std::clamp(k, 1, kMaxComponentInputPins) - 1].Point() : LibraryPoint{});
    }
    SheetPoint OutputPin(const Gate& g, int k) const
    {
        const LibraryComponent* c = Component(g);
        return PinAt(g, c ? c->OutputPins[std::clamp(k, 1, 2) - 1] : LibraryPoint{});
    }

    std::string Orientation(const Gate& g) const
    {
        if (g.Stage == stage::FlipFlop) return "M0";
        if (IsTermStage(g.Stage)) return "R90";
        return "R0";
    }

    void PlaceAt(Gate& g, SheetPoint at)
    {
        const std::string name = ComponentKindName(g.Kind);
        const LibraryComponent* c = Component(g);
        if (!c) {
            if (name == "DUMMY") {
                g.X = at.x;
                g.Y = at.y;
                return;
            }
            result_.messages.push_back("COMPONENT " + name + " NOT FOUND IN LIBRARY");
            result_.error = true;
            return;
        }
        g.X = at.x;
        g.Y = at.y;
        if (c->Symbol == "DUMMY") return;
        std::string orientation = Orientation(g);
        LibraryPoint offset = orientation == "R0" ? c->UprightOffset : c->TurnedOffset;
        result_.lines.push_back("SYMBOL " + c->Symbol + " " + Num(g.X + offset.x) + " " + Num(g.Y + offset.y) + " " +
                                orientation);
        result_.lines.push_back("SYMATTR InstName I" + Num(++instances_));
    }

    void DrawPort(SheetPoint at, const std::string& name, bool toTheRight, bool in)
    {
        int xf = toTheRight ? at.x + 16 : at.x - 16;
        std::string y = Num(at.y);
        result_.lines.push_back("WIRE " + Num(xf) + " " + y + " " + Num(at.x) + " " + y);
        result_.lines.push_back("FLAG " + Num(xf) + " " + y + " " + name);
        result_.lines.push_back("IOPIN " + Num(xf) + " " + y + (in ? " In" : " Out"));
    }

    // ---- wire primitives ----
    void WireFromTo(SheetPoint a, SheetPoint b)
    {
        if (!(a == b)) result_.lines.push_back("WIRE " + Num(a.x) + " " + Num(a.y) + " " + Num(b.x) + " " + Num(b.y));
        pen_ = b;
    }
    void WireTo(SheetPoint p) { WireFromTo(pen_, p); }

    std::optional<std::size_t> Driver(const std::string& name) const
    {
        if (name.empty()) return std::nullopt;
        for (std::size_t i = 0; i < gates_.size(); ++i)
            if (gates_[i].OutputName == name) return i;
        return std::nullopt;
    }
    SheetPoint Source(std::size_t driver) const
    {
        const Gate& d = gates_[driver];
        if (d.Stage == stage::InvertedState && driver > 0) return OutputPin(gates_[driver - 1], 2);
        return OutputPin(d, 1);
    }
    void Join(SheetPoint a, std::size_t driver, SheetPoint through)
    {
        WireFromTo(a, through);
        auto it = feed_.find(driver);
        WireTo(it != feed_.end() ? it->second : Source(driver));
        feed_[driver] = through;
    }

    // ---- placement ----
    static bool IsFirstLevel(int s)
    {
        return s == stage::Term3First || s == stage::Term2First || s == stage::TermSingle || s == stage::Out3First ||
               s == stage::Out2First || s == stage::OutSingle;
    }
    int AlignPin(const Gate& g, bool outputColumn) const
    {
        int n = InputPinCount(g);
        if (outputColumn) return n - 1 >= 1 ? n - 1 : 1;
        return n >= 2 ? 2 : 1;
    }

    void Place()
    {
        SheetPoint c{X0, Y0};
        // Input column.
        int right = X0;
        for (Gate& g : gates_) {
            if (g.Stage != stage::InputPort && g.Stage != stage::InputInverter) continue;
            PlaceAt(g, c);
            if (g.Stage == stage::InputPort) DrawPort(c, g.OutputName, false, true);
            SheetPoint size = Size(g);
            c.y += size.y;
            right = std::max(right, c.x + size.x);
            if (result_.error) return;
        }
        if (right == X0) right = X0 + 2 * G;
        c = {right, c.y + 2 * G};

        // Term band (turned: a component's height runs along x).
        int d1 = c.y, d2 = c.y, deepest = c.y;
        int prevStage = -1, runLength = 0;
        std::optional<std::size_t> anchor, secondAnchor;
        int secondLevels = 0;
        for (std::size_t i = 0; i < gates_.size(); ++i) {
            Gate& g = gates_[i];
            if (!IsTermStage(g.Stage)) continue;
            const int s = g.Stage;
            if (IsFirstLevel(s)) {
                runLength = (s == prevStage) ? runLength + 1 : 1;
                if (runLength <= 2) anchor = i;
                PlaceAt(g, c);
                SheetPoint size = Size(g);
                c.x += size.y;
                d1 = std::max(d1, c.y + size.x);
            } else if (s == stage::Term3Second || s == stage::Term2Root) {
                SheetPoint target = anchor ? OutputPin(gates_[*anchor], 1) : c;
                const LibraryComponent* comp = Component(g);
                int py = comp ? comp->InputPins[AlignPin(g, false) - 1].y : 0;
                PlaceAt(g, {target.x - py, d1});
                d2 = std::max(d2, d1 + Size(g).x);
                if (s == stage::Term3Second && ++secondLevels <= 2) secondAnchor = i;
            } else {  // three-level root
                SheetPoint target = secondAnchor ? OutputPin(gates_[*secondAnchor], 1) : c;
                const LibraryComponent* comp = Component(g);
                int py = comp ? comp->InputPins[AlignPin(g, false) - 1].y : 0;
                PlaceAt(g, {target.x - py, d2});
            }
            if (result_.error) return;
            deepest = std::max(deepest, g.Y + Size(g).x);
            if (s == stage::Term3Root || s == stage::Term2Root || s == stage::TermSingle) {
                c.x += G;
                secondLevels = 0;
                secondAnchor.reset();
            }
            prevStage = s;
        }
        c.y = std::max({d1, d2, deepest});
        const int xf = c.x;
        int yf = Y0 - 5 * G;

        // Output column (upright).
        int r1 = xf, r2 = xf;
        XR = xf;
        prevStage = -1;
        runLength = 0;
        anchor.reset();
        secondAnchor.reset();
        secondLevels = 0;
        for (std::size_t i = 0; i < gates_.size(); ++i) {
            Gate& g = gates_[i];
            if (!IsOutputStage(g.Stage)) continue;
            const int s = g.Stage;
            const LibraryComponent* comp = Component(g);
            auto alignedY = [&](std::optional<std::size_t> to) {
                SheetPoint target = to ? OutputPin(gates_[*to], 1) : c;
                int py = comp ? comp->InputPins[AlignPin(g, true) - 1].y : 0;
                return target.y + py;
            };
            if (IsFirstLevel(s)) {
                runLength = (s == prevStage) ? runLength + 1 : 1;
                if (runLength <= 2) anchor = i;
                c.y += Size(g).y;
                PlaceAt(g, c);
                r1 = std::max(r1, c.x + Size(g).x);
                XR = std::max(XR, r1);
            } else if (s == stage::Out3Second || s == stage::Out2Root) {
                PlaceAt(g, {r1, alignedY(anchor)});
                r2 = std::max(r2, r1 + Size(g).x);
                XR = std::max(XR, r2);
                if (s == stage::Out3Second && ++secondLevels <= 2) secondAnchor = i;
            } else {
                PlaceAt(g, {r2, alignedY(secondAnchor)});
                XR = std::max(XR, r2 + Size(g).x);
            }
            if (result_.error) return;
            if (s == stage::Out3Root || s == stage::Out2Root || s == stage::OutSingle) {
                c.y += G;
                roots_.push_back(static_cast<int>(i));
                secondLevels = 0;
                secondAnchor.reset();
            }
            prevStage = s;
        }
        c.y += 2 * G;
        outputRight_ = XR;

        // Flip-flop column (mirrored), growing upwards from above the input column.
        for (Gate& g : gates_) {
            if (g.Stage != stage::FlipFlop) continue;
            SheetPoint size = Size(g);
            PlaceAt(g, {xf + size.x, yf});
            if (result_.error) return;
            yf -= size.y;
            XR = std::max(XR, xf + size.x);
        }
        XR += G * (ExcitationCount(cover_) + 4);

        // Output ports.
        const int excitations = ExcitationCount(cover_);
        int k = 0;
        for (Gate& g : gates_) {
            if (g.Stage != stage::OutputPort) continue;
            int output = excitations + k++;
            int y = output < static_cast<int>(roots_.size()) ? OutputPin(gates_[roots_[output]], 1).y : c.y;
            PlaceAt(g, {XR, y});
            if (result_.error) return;
            DrawPort({XR, y}, g.GateInputs[0], true, false);
        }
    }

    // ---- routing ----
    void Route()
    {
        // The gates that join first-level gates are drawn with their inputs in reverse, so
        // that their pins, counted upwards on the sheet, meet the first-level gates stacked
        // downwards without crossing: the aligned pin n - 1 then takes the second gate.
        for (Gate& g : gates_) {
            if (g.Stage != stage::Out3Second && g.Stage != stage::Out3Root && g.Stage != stage::Out2Root) continue;
            auto end = std::find(g.GateInputs.begin(), g.GateInputs.end(), std::string());
            std::reverse(g.GateInputs.begin(), end);
        }
        for (std::size_t i = 0; i < gates_.size(); ++i) {
            if (gates_[i].Stage != stage::FlipFlop) continue;
            SheetPoint out = OutputPin(gates_[i], 1);
            SheetPoint stub{out.x - G, out.y};
            WireFromTo(out, stub);
            feed_[i] = stub;
        }
        for (const Gate& g : gates_) {
            if (g.Stage != stage::InputInverter) continue;
            if (auto d = Driver(g.GateInputs[0])) WireFromTo(InputPin(g, 1), Source(*d));
        }
        for (std::size_t i = gates_.size(); i-- > 0;) {
            const Gate& g = gates_[i];
            if (!IsTermStage(g.Stage) || !IsFirstLevel(g.Stage)) continue;
            for (int k = 1; k <= InputPinCount(g) && k <= kMaxGateInputSlots; ++k) {
                auto d = Driver(g.GateInputs[k - 1]);
                if (!d) continue;
                int ds = gates_[*d].Stage;
                if (ds != stage::FlipFlop && ds != stage::InvertedState) continue;
                SheetPoint a = InputPin(g, k);
                Join(a, *d, {a.x, Source(*d).y});
            }
        }
        for (const Gate& g : gates_) {
            if (!IsTermStage(g.Stage)) continue;
            int track = Y0;
            for (int k = 1; k <= InputPinCount(g) && k <= kMaxGateInputSlots; ++k) {
                auto d = Driver(g.GateInputs[k - 1]);
                if (!d) continue;
                SheetPoint a = InputPin(g, k);
                SheetPoint b = Source(*d);
                int ds = gates_[*d].Stage;
                if (IsFirstLevel(g.Stage)) {
                    if (ds == stage::InputPort || ds == stage::InputInverter) Join(a, *d, {a.x, b.y});
                    continue;
                }
                if (a.x == b.x) {
                    WireFromTo(a, b);
                } else if (b.y >= track) {
                    SheetPoint corner{a.x, b.y};
                    WireFromTo(a, corner);
                    if (!(corner == b)) WireTo(b);
                    track = b.y > track ? b.y : track + G;
                } else {
                    if (a.y == b.y) {
                        WireFromTo(a, b);
                    } else {
                        SheetPoint onTrack{a.x, track};
                        if (!(a == onTrack)) WireFromTo(a, onTrack);
                        else WireFromTo(a, {b.x, track});
                        SheetPoint over{b.x, track};
                        if (!(over == pen_) && !(over == b)) WireTo(over);
                        WireTo(b);
                    }
                    track += G;
                }
            }
        }
        for (const Gate& g : gates_) {
            if (!IsOutputStage(g.Stage)) continue;
            int track = X0;
            for (int k = std::min(InputPinCount(g), kMaxGateInputSlots); k >= 1; --k) {
                auto d = Driver(g.GateInputs[k - 1]);
                if (!d) continue;
                SheetPoint a = InputPin(g, k);
                SheetPoint b = Source(*d);
                if (IsFirstLevel(g.Stage)) {
                    Join(a, *d, {b.x, a.y});
                    continue;
                }
                if (a.y == b.y) {
                    WireFromTo(a, b);
                } else if (b.x >= track) {
                    WireFromTo(a, {b.x, a.y});
                    WireTo(b);
                    track = b.x > track ? b.x : track + G;
                } else {
                    if (a.x == b.x) {
                        WireFromTo(a, b);
                    } else {
                        WireFromTo(a, {track, a.y});
                        WireTo({track, b.y});
                        WireTo(b);
                    }
                    track += G;
                }
            }
        }
        for (const Gate& g : gates_) {
            if (g.Stage != stage::OutputPort) continue;
            if (auto d = Driver(g.GateInputs[0])) WireFromTo(InputPin(g, 1), Source(*d));
        }
        RouteFlipFlops();
    }

    std::vector<std::size_t> FlipFlops() const
    {
        std::vector<std::size_t> list;
        for (std::size_t i = 0; i < gates_.size(); ++i)
            if (gates_[i].Stage == stage::FlipFlop) list.push_back(i);
        return list;
    }

    std::vector<int> PinYs(const Gate& g) const
    {
        std::vector<int> ys;
        const LibraryComponent* c = Component(g);
        if (!c) return ys;
        for (int k = 0; k < 2; ++k)
            if (c->OutputPins[k].x < 999 && c->OutputPins[k].y < 999) ys.push_back(OutputPin(g, k + 1).y);
        for (int k = 1; k <= kMaxComponentInputPins; ++k)
            if (c->HasInputPin(k)) ys.push_back(InputPin(g, k).y);
        return ys;
    }

    std::size_t AddPortGate(int kindCode, int stageCode, const std::string& name, SheetPoint at)
    {
        Gate port;
        port.Kind = kindCode;
        port.Stage = stageCode;
        port.OutputName = name;
        gates_.push_back(port);
        PlaceAt(gates_.back(), at);
        return gates_.size() - 1;
    }

    void RouteFlipFlops()
    {
        std::vector<std::size_t> ffs = FlipFlops();
        int e = outputRight_;
        for (std::size_t i : ffs) {
            const LibraryComponent* c = Component(gates_[i]);
            if (!c) continue;
            for (int k = 1; k <= kMaxComponentInputPins; ++k) {
                if (!c->HasInputPin(k)) continue;
                int x = InputPin(gates_[i], k).x;
                if (e < x + 2) e = x + 32;
            }
        }
        const int xs = e;
        for (std::size_t i : ffs) {
            const std::string component = ComponentKindName(gates_[i].Kind);
            int pins = (component == "JKFF" || component == "SRFF") ? 2 : 1;
            for (int k = 1; k <= pins; ++k) {
                auto d = Driver(gates_[i].GateInputs[k - 1]);
                if (!d) continue;
                SheetPoint a = InputPin(gates_[i], k);
                SheetPoint src = Source(*d);
                WireFromTo(a, {e, a.y});
                WireTo({e, src.y});
                WireTo(src);
                e += G;
            }
        }
        if (ffs.empty()) return;

        SheetPorts& ports = result_.ports;
        const int portX = e + 5 * G;
        // Ports are appended to the list below, so gates are looked up by index, never held.
        const std::size_t firstIndex = ffs.front();
        const LibraryComponent* firstComp = Component(gates_[firstIndex]);
        const LibraryComponent* lastComp = Component(gates_[ffs.back()]);
        auto bus = [&](int pin, const std::string& name, int busX) {
            SheetPoint portAt{portX, InputPin(gates_[firstIndex], pin).y};
            std::size_t port = AddPortGate(kind::InputPort, stage::ControlPort, name, portAt);
            DrawPort(portAt, name, true, true);
            std::optional<SheetPoint> previous;
            for (std::size_t i : ffs) {
                SheetPoint a = InputPin(gates_[i], pin);
                SheetPoint busPoint{busX, a.y};
                WireFromTo(a, busPoint);
                WireTo(previous ? *previous : OutputPin(gates_[port], 1));
                previous = busPoint;
            }
        };

        ports.HasClock = true;
        ports.ClockActiveLow = firstComp && firstComp->InputPins[2].ActiveLow;
        ++ports.LeftPinCount;
        bus(3, ports.ClockActiveLow ? "nCLK" : "CLK", e);
        if (result_.error) return;
        auto optionalBus = [&](int pin, const char* low, const char* high, bool& has, bool* activeLow) {
            if (!lastComp || !lastComp->HasInputPin(pin)) return false;
            e += G;
            bool lowActive = lastComp->InputPins[pin - 1].ActiveLow;
            has = true;
            if (activeLow) *activeLow = lowActive;
            bus(pin, lowActive ? low : high, e);
            return true;
        };
        if (optionalBus(4, "nRST", "RST", ports.HasReset, &ports.ResetActiveLow)) ++ports.LeftPinCount;
        if (optionalBus(5, "nPRST", "PRST", ports.HasPreset, &ports.PresetActiveLow)) ++ports.LeftPinCount;
        if (optionalBus(6, "nTSTM", "TSTM", ports.HasScanPath, nullptr)) ports.LeftPinCount += 2;
        if (result_.error) return;

        if (ports.HasScanPath) {
            SheetPoint pin2 = InputPin(gates_[firstIndex], 2);
            SheetPoint portAt{portX, pin2.y};
            std::size_t port = AddPortGate(kind::InputPort, stage::ControlPort, "SCIN", portAt);
            DrawPort(portAt, "SCIN", true, true);
            WireFromTo(pin2, OutputPin(gates_[port], 1));
            for (std::size_t k = 1; k < ffs.size(); ++k) {
                const Gate& before = gates_[ffs[k - 1]];
                const Gate& ff = gates_[ffs[k]];
                SheetPoint out = OutputPin(before, 1);
                SheetPoint a{out.x - G, out.y};
                std::vector<int> low = PinYs(before), high = PinYs(ff);
                int ylow = low.empty() ? a.y : *std::min_element(low.begin(), low.end());
                int yhigh = high.empty() ? a.y : *std::max_element(high.begin(), high.end());
                int ymid = static_cast<int>(std::nearbyint((ylow + yhigh) / 2.0 / G)) * G;
                SheetPoint target = InputPin(ff, 2);
                WireFromTo(a, {a.x, ymid});
                WireTo({xs, ymid});
                WireTo({xs, target.y});
                WireTo(target);
            }
        }

        for (std::size_t i : ffs) {
            const std::string bit = gates_[i].OutputName;
            bool scanOut = ports.HasScanPath && bit.size() >= 1 && bit.back() == '0' &&
                           !(bit.size() >= 2 && bit[bit.size() - 2] == '1');
            std::string name;
            if (cover_.RegOutFlag) {
                name = bit;
                if (scanOut) result_.messages.push_back("NOTE:  PIN " + bit + " IS SCANPATH OUTPUT");
            } else if (scanOut) {
                name = "SCOUT";
            } else {
                continue;
            }
            SheetPoint out = OutputPin(gates_[i], 1);
            auto it = feed_.find(i);
            SheetPoint from = it != feed_.end() ? it->second : out;
            SheetPoint at{X0, out.y};
            AddPortGate(kind::OutputPort, stage::StatePort, name, at);
            ++ports.RightPinCount;
            DrawPort(at, name, false, false);
            WireFromTo(from, at);
        }
    }
};

}  // namespace

SheetResult DrawSheet(const MinimizedCover& cover, const GateLibrary& library, std::vector<Gate>& gates,
                      const SheetParams& params)
{
    SheetBuilder builder(cover, library, gates, params);
    return builder.Run();
}

std::vector<std::string> SymbolFileLines(const MinimizedCover& cover, const SheetPorts& ports)
{
    const int s = std::min(cover.FlipFlopCount, cover.NumInputs);
    const int e = std::min(ExcitationCount(cover), cover.NumOutputs);
    std::size_t lmax = 0, rmax = 0;
    for (int i = s; i < cover.NumInputs; ++i) lmax = std::max(lmax, cover.InputNames[i].size());
    for (int j = e; j < cover.NumOutputs; ++j) rmax = std::max(rmax, cover.OutputNames[j].size());
    const int h = 32 * std::max(ports.LeftPinCount, ports.RightPinCount) + 64;
    int w = 16 * static_cast<int>(std::lround(1.2 * static_cast<double>(lmax)) +
                                  std::lround(1.2 * static_cast<double>(rmax)));
    if (w < 224) w = 224;
    const int xr = w + 64;

    std::vector<std::string> lines = {"Version 4", "SymbolType BLOCK",
                                      "RECTANGLE Wide 32 0 " + Num(w + 32) + " " + Num(h),
                                      "WINDOW 0 " + Num(w / 2 + 32) + " " + Num(h - 16) + " Center 2",
                                      "WINDOW 1 " + Num(w / 2 + 32) + " 16 Center 2"};
    int y = h - 48;
    auto left = [&](const std::string& name) {
        lines.push_back("PIN 0 " + Num(y) + "  LEFT 36");
        lines.push_back(ShortString("PINATTR PinName " + name));
        lines.push_back("LINE Normal 0 " + Num(y) + " 32 " + Num(y));
        y -= 32;
    };
    if (ports.HasClock) left(ports.ClockActiveLow ? "nCLK" : "CLK");
    if (ports.HasReset) left(ports.ResetActiveLow ? "nRST" : "RST");
    if (ports.HasPreset) left(ports.PresetActiveLow ? "nPRST" : "PRST");
    for (int i = cover.NumInputs - 1; i >= s; --i) left(cover.InputNames[i]);
    if (ports.HasScanPath) {
        left("SCIN");
        left("TSTM");
    }
    y = h - 48;
    auto right = [&](const std::string& name) {
        lines.push_back("PIN " + Num(xr) + " " + Num(y) + "  RIGHT 36");
        lines.push_back(ShortString("PINATTR PinName " + name));
        lines.push_back("PINATTR Polarity OUT");
        lines.push_back("LINE Normal " + Num(xr) + " " + Num(y) + " " + Num(xr - 32) + " " + Num(y));
        y -= 32;
    };
    if (cover.RegOutFlag) {
        for (int q = s - 1; q >= 0; --q) right(cover.InputNames[q]);
    } else if (ports.HasScanPath) {
        right("SCOUT");
    }
    for (int j = cover.NumOutputs - 1; j >= e; --j) right(cover.OutputNames[j]);
    return lines;
}

std::string SymbolFileName(std::string_view sheetFileName)
{
    std::string name(sheetFileName);
    std::size_t slash = name.rfind('/');
    std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = name.find('.', start);
    if (dot == std::string::npos) return name + ".asy";
    std::string result = name.substr(0, dot + 1) + "asy";
    if (name.size() > dot + 4) result += name.substr(dot + 4);
    return result;
}

std::string SchematicBaseName(std::string_view sheetFileName)
{
    std::string name(sheetFileName);
    std::size_t slash = name.rfind('/');
    std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    if (name.size() >= start + 5 && name[name.size() - 4] == '.') return name.substr(0, name.size() - 4);
    return name;
}

}  // namespace quorlet
