// SPDX-License-Identifier: GPL-3.0-or-later
// What the page offers beyond the program's own menus and keys, in one place for the
// modules that add them.
export { addPageItem, hasMenus } from './menus.js';
export { addPageKey } from './keys.js';
