// SPDX-License-Identifier: GPL-3.0-or-later
// Drives one Timer element, paced by the program's clock rules as the windows' clock is:
// each wake-up delivers the ticks that fell due since, so the rate holds although the
// browser wakes a page at most every few milliseconds. A burst stops when a tick stops
// the timer, changes its interval or opens a box.
import { app } from './state.js';
import { deliver } from './events.js';

export class Clock {
  constructor(id) {
    this.id = id;
    this.running = false;
    this.interval = 0;
    this.next = 0;
    this.lastWakeUp = 0;
    this.timer = null;
    this.delivered = 0;
  }

  sync() {
    const d = app.fe.element(this.id);
    const run = Boolean(d) && d.enabled && d.interval > 0 && !app.programEnded;
    if (!run) {
      this.stop();
      return;
    }
    if (this.running && this.interval === d.interval) return;
    this.running = true;
    this.interval = d.interval;
    this.next = app.module.clockFirstDue(performance.now(), this.interval);
    this.arm();
  }

  stop() {
    this.running = false;
    clearTimeout(this.timer);
    this.timer = null;
  }

  arm() {
    clearTimeout(this.timer);
    const at = app.module.clockWakeAt(this.next, this.lastWakeUp);
    this.timer = setTimeout(() => this.wakeUp(), Math.max(0, at - performance.now()));
  }

  wakeUp() {
    this.timer = null;
    if (!this.running) return;
    if (app.modal) {
      this.timer = setTimeout(() => this.wakeUp(), app.module.CLOCK_BUSY_RETRY_MS);
      return;
    }
    this.lastWakeUp = performance.now();
    const burst = app.module.clockBurst(this.lastWakeUp, this.next, this.interval);
    this.next = burst.dueMs;
    for (let n = 0; n < burst.ticks; ++n) {
      this.next += this.interval;
      ++this.delivered;
      const same = deliver(() => app.fe.tick(this.id), true);
      if (!same) {
        this.running = false;
        this.sync();
        return;
      }
      if (app.modal || !this.running) break;
    }
    if (this.running) this.arm();
  }
}

// After every user action: a clock the action started, stopped or changed follows. A tick
// that changes its own timer says so (wakeUp); one that changes another timer's is drawn,
// and so followed, at the next frame.
export function syncClocks(tick) {
  if (tick) return;
  for (const clock of app.clocks.values()) clock.sync();
}
