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
    this.pacer = new app.module.ClockPacer(); // the windows' driver loop
    this.timer = null;
    this.delivered = 0;
  }

  sync() {
    const d = app.fe.element(this.id);
    const run = Boolean(d) && d.enabled && d.interval > 0 && !app.programEnded;
    if (this.pacer.sync(run, run ? d.interval : 0, performance.now())) this.arm();
    if (!this.pacer.running()) this.stop();
  }

  stop() {
    this.pacer.stop();
    clearTimeout(this.timer);
    this.timer = null;
  }

  // The form went: the program's pacer goes with it.
  discard() {
    this.stop();
    this.pacer.delete();
  }

  arm() {
    clearTimeout(this.timer);
    const wait = Math.max(0, this.pacer.wakeAt() - performance.now());
    this.timer = setTimeout(() => this.wakeUp(), wait);
  }

  wakeUp() {
    this.timer = null;
    if (!this.pacer.running()) return;
    if (app.modal) {
      this.timer = setTimeout(() => this.wakeUp(), app.module.CLOCK_BUSY_RETRY_MS);
      return;
    }
    let resynced = false;
    this.pacer.wakeUp(performance.now(), () => {
      ++this.delivered;
      if (deliver(() => app.fe.tick(this.id), true)) return !app.modal;
      // The tick stopped its timer or changed its interval: the clock follows at once.
      this.pacer.stop();
      this.sync();
      resynced = true;
      return false;
    });
    if (!resynced && this.pacer.running()) this.arm();
  }
}

// After every user action: a clock the action started, stopped or changed follows. A tick
// that changes its own timer says so (wakeUp); one that changes another timer's is drawn,
// and so followed, at the next frame.
export function syncClocks(tick) {
  if (tick) return;
  for (const clock of app.clocks.values()) clock.sync();
}
