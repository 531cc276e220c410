#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "board.h"
#include "run_services.h"

// The services of a run, each writing what it is asked into one log, so the order of a run's
// steps shows.
class RecordingServices final : public buffon::CuePlayer,
                                public buffon::Board,
                                public buffon::Clock {
public:
    void PlayCue(const std::string& fileName) override
    {
        log.push_back("cue " + fileName);
        if (refuseCue) {
            throw std::runtime_error("cue refused");
        }
    }
    void Clear() override { log.push_back("clear"); }
    void DrawSegment(float x1, float y1, float x2, float y2, buffon::PaletteIndex colour) override
    {
        blueSegments += colour == buffon::PaletteIndex::LightBlue;
        log.push_back("segment " + std::to_string(int(x1)) + "," + std::to_string(int(y1)) + " " +
                      std::to_string(int(x2)) + "," + std::to_string(int(y2)) + " colour " +
                      std::to_string(int(colour)));
    }
    float SecondsSinceMidnight() override
    {
        log.push_back("clock");
        return 61.5f;
    }

    std::vector<std::string> log;
    int blueSegments = 0;
    bool refuseCue = false;
};

class RecordingCaption final : public buffon::Caption {
public:
    RecordingCaption(std::vector<std::string>& log, std::string name) : log_(log), name_(name) {}
    void SetCaption(const std::string& caption) override
    {
        text = caption;
        log_.push_back(name_ + " \"" + caption + "\"");
    }
    std::string text = "earlier";

private:
    std::vector<std::string>& log_;
    std::string name_;
};
