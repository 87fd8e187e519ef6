// The browser's side of the pointer road, played by the test: a browser object with its own
// documents, connection points, event objects and text ranges. A page lays its text out in one
// line of 10-pixel characters. Pointers are handed out as void* because the fakes are written
// against the C form of the interfaces (only the slots the band calls are filled).
#pragma once

#include <string>
#include <vector>

namespace pelux::wintest::dom {

struct Page;
struct Browser;

Page* newPage(const std::wstring& text);
void* documentOf(Page* page);                  // IHTMLDocument2*
int documentAdvises(Page* page);               // subscriptions made to the page's events
void* documentSink(Page* page);                // the IDispatch* that subscribed last
void* newMouseEvent(Page* page, int x, int y); // IHTMLEventObj*
std::wstring titleOf(Page* page);              // the "title" set on the element under the pointer
// A new document at the address of the page's old one, with `text` and no subscription yet.
void replaceDocument(Page* page, const std::wstring& text);
// The page's document is gone: every later call into it is counted and fails.
void retire(Page* page);
int callsAfterRetirement(Page* page);

Browser* newBrowser(Page* shown);
void* browserObject(Browser* browser);         // IWebBrowser2*
void show(Browser* browser, Page* page);
int browserAdvises(Browser* browser);
void* browserSink(Browser* browser);
int stops(Browser* browser);
std::vector<std::wstring> navigations(Browser* browser);

}  // namespace pelux::wintest::dom
