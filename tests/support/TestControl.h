#pragma once
// A control that records what its window tells it.
#include <string>
#include <vector>

#include "engine/OWindow.h"
#include "graphics/ControlInput.h"
#include "graphics/OGraph.h"

class TestControl : public OGraph, public ControlInput {
  public:
    TestControl(float x, float y, float w, float h, bool focusable) : focusable_(focusable) {
        SetPosition(x, y, 0);
        SetSize(w, h, 0);
    }
    GraphKind Kind() const override { return GraphKind::Control; }
    int FrameRate() const override { return rate; }
    ControlInput* AsControl() override { return this; }

    bool HitTest(int x, int y) override {
        return IsVisible() && x >= 0 && y >= 0 && x < Width() && y < Height();
    }
    void OnMouseMove(int x, int y) override {
        Log("move " + std::to_string(x) + "," + std::to_string(y));
        if (captureOnMove && Window()) WindowOf(this)->CaptureGraph(this);
    }
    void OnPress(int code, int x, int y) override {
        Log("press " + std::to_string(code) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void OnRelease(int code, int x, int y) override {
        Log("release " + std::to_string(code) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void OnChar(uint8_t c) override { Log("char " + std::to_string(c)); }
    void OnCaptureChanged(OGraph* g) override { Log(g == this ? "capture in" : "capture out"); }
    void OnFocusChanged(OGraph* g) override { Log(g == this ? "focus in" : "focus out"); }
    bool IsFocusable() const override { return focusable_; }

    std::vector<std::string> log;
    bool captureOnMove = false;
    int rate = 0;

  private:
    void Log(std::string s) { log.push_back(std::move(s)); }
    bool focusable_;
};
