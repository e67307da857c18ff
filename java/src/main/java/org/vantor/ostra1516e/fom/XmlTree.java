package org.vantor.ostra1516e.fom;

import java.io.ByteArrayInputStream;
import java.io.IOException;
import java.io.StringReader;
import java.util.ArrayDeque;
import java.util.ArrayList;
import java.util.Deque;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import javax.xml.XMLConstants;
import javax.xml.parsers.ParserConfigurationException;
import javax.xml.parsers.SAXParser;
import javax.xml.parsers.SAXParserFactory;
import org.xml.sax.Attributes;
import org.xml.sax.InputSource;
import org.xml.sax.Locator;
import org.xml.sax.SAXException;
import org.xml.sax.SAXParseException;
import org.xml.sax.helpers.DefaultHandler;

/**
 * XmlTree reads a module's bytes into a light element tree that remembers the line of every
 * element. Elements are known by their local name whatever their namespace. Document type
 * declarations are refused and nothing outside the bytes is ever fetched.
 */
final class XmlTree {
  /** Deeper nesting is refused: the class walk recurses once per level. */
  static final int MAX_DEPTH = 500;

  private XmlTree() {}

  /** One element: local name, attributes, text and child elements in document order. */
  static final class Node {
    final String name;
    final int line;
    final Map<String, String> attributes;
    final List<Node> children = new ArrayList<>();
    private StringBuilder text;

    Node(String name, int line, Map<String, String> attributes) {
      this.name = name;
      this.line = line;
      this.attributes = attributes;
    }

    /** The element's own text, trimmed, inner white space collapsed to single blanks. */
    String text() {
      return text == null ? "" : collapse(text);
    }

    /** The first child of that name, or null. */
    Node child(String childName) {
      for (Node c : children) {
        if (c.name.equals(childName)) {
          return c;
        }
      }
      return null;
    }

    /** The text of the first child of that name, "" when there is none. */
    String childText(String childName) {
      Node c = child(childName);
      return c == null ? "" : c.text();
    }

    List<Node> children(String childName) {
      List<Node> found = new ArrayList<>();
      for (Node c : children) {
        if (c.name.equals(childName)) {
          found.add(c);
        }
      }
      return found;
    }
  }

  /** A fault in the bytes: the parser's words, its line (0 if unknown) and the open element. */
  static final class ParseFault extends Exception {
    private static final long serialVersionUID = 1L;
    final int line;
    final String element;

    ParseFault(String message, int line, String element) {
      super(message);
      this.line = line;
      this.element = element;
    }
  }

  static Node parse(byte[] content) throws ParseFault {
    Handler handler = new Handler();
    try {
      newParser().parse(new ByteArrayInputStream(content), handler);
    } catch (SAXParseException e) {
      throw new ParseFault(words(e), Math.max(e.getLineNumber(), 0), handler.openElement());
    } catch (SAXException | IOException e) {
      throw new ParseFault(words(e), handler.line(), handler.openElement());
    }
    return handler.root;
  }

  private static String words(Exception e) {
    String m = e.getMessage();
    if (m == null || m.isBlank()) {
      return e.getClass().getSimpleName();
    }
    if (m.contains("DOCTYPE")) {
      return "document type declarations (DOCTYPE) are not accepted";
    }
    return m.strip();
  }

  private static SAXParser newParser() {
    try {
      SAXParserFactory factory = SAXParserFactory.newInstance();
      factory.setNamespaceAware(true);
      factory.setValidating(false);
      factory.setXIncludeAware(false);
      factory.setFeature(XMLConstants.FEATURE_SECURE_PROCESSING, true);
      factory.setFeature("http://apache.org/xml/features/disallow-doctype-decl", true);
      factory.setFeature("http://xml.org/sax/features/external-general-entities", false);
      factory.setFeature("http://xml.org/sax/features/external-parameter-entities", false);
      factory.setFeature("http://apache.org/xml/features/nonvalidating/load-external-dtd", false);
      SAXParser parser = factory.newSAXParser();
      parser.setProperty(XMLConstants.ACCESS_EXTERNAL_DTD, "");
      parser.setProperty(XMLConstants.ACCESS_EXTERNAL_SCHEMA, "");
      return parser;
    } catch (ParserConfigurationException | SAXException e) {
      throw new IllegalStateException("the JDK's XML parser lacks a safety feature: " + e, e);
    }
  }

  static String collapse(CharSequence s) {
    StringBuilder out = new StringBuilder(s.length());
    boolean blank = false;
    for (int i = 0; i < s.length(); i++) {
      char c = s.charAt(i);
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
        blank = out.length() > 0;
      } else {
        if (blank) {
          out.append(' ');
          blank = false;
        }
        out.append(c);
      }
    }
    return out.toString();
  }

  private static final class Handler extends DefaultHandler {
    private Locator locator;
    private final Deque<Node> open = new ArrayDeque<>();
    Node root;

    @Override
    public void setDocumentLocator(Locator locator) {
      this.locator = locator;
    }

    int line() {
      return locator == null ? 0 : Math.max(locator.getLineNumber(), 0);
    }

    String openElement() {
      Node top = open.peek();
      return top == null ? null : top.name;
    }

    @Override
    public InputSource resolveEntity(String publicId, String systemId) {
      return new InputSource(new StringReader(""));
    }

    @Override
    public void startElement(String uri, String localName, String qName, Attributes atts)
        throws SAXException {
      String name = localName == null || localName.isEmpty() ? qName : localName;
      if (open.size() >= MAX_DEPTH) {
        throw new SAXParseException("elements nested deeper than " + MAX_DEPTH, locator);
      }
      Map<String, String> attributes = new HashMap<>();
      for (int i = 0; i < atts.getLength(); i++) {
        String a = atts.getLocalName(i);
        attributes.put(a == null || a.isEmpty() ? atts.getQName(i) : a, atts.getValue(i));
      }
      Node node = new Node(name, line(), attributes);
      Node parent = open.peek();
      if (parent == null) {
        root = node;
      } else {
        parent.children.add(node);
      }
      open.push(node);
    }

    @Override
    public void endElement(String uri, String localName, String qName) {
      open.pop();
    }

    @Override
    public void characters(char[] ch, int start, int length) {
      Node top = open.peek();
      if (top != null) {
        if (top.text == null) {
          top.text = new StringBuilder();
        }
        top.text.append(ch, start, length);
      }
    }

    @Override
    public void fatalError(SAXParseException e) throws SAXException {
      throw e;
    }
  }
}
