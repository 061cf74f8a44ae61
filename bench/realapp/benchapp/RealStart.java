package benchapp;

import com.fasterxml.jackson.databind.JsonNode;
import com.fasterxml.jackson.databind.ObjectMapper;
import java.io.ByteArrayInputStream;
import java.io.StringWriter;
import java.nio.charset.StandardCharsets;
import java.time.ZoneId;
import java.time.ZonedDateTime;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import javax.xml.parsers.DocumentBuilderFactory;
import javax.xml.transform.TransformerFactory;
import javax.xml.transform.dom.DOMSource;
import javax.xml.transform.stream.StreamResult;
import org.joda.time.DateTime;
import org.joda.time.DateTimeZone;
import org.joda.time.format.DateTimeFormat;
import org.w3c.dom.Document;

// What a real application does before its first window: read its settings (JSON), its document
// (XML) and show dates, with Jackson and Joda-Time from Debian's packages and the runtime's own
// XML and date classes: some two thousand classes. Prints when main began and when that was done,
// in microseconds since the epoch.
public class RealStart {
    public static class Settings {
        public String name;
        public int count;
        public List<String> tags;
        public Map<String, Double> prices;
    }

    static long micros() {
        java.time.Instant now = java.time.Instant.now();
        return now.getEpochSecond() * 1_000_000L + now.getNano() / 1_000;
    }

    public static void main(String[] args) throws Exception {
        System.out.println("main-at " + micros());
        String json = "{\"name\":\"x\",\"count\":3,\"tags\":[\"a\",\"b\"],\"prices\":{\"eur\":1.5}}";
        ObjectMapper mapper = new ObjectMapper();
        Settings settings = mapper.readValue(json, Settings.class);
        JsonNode tree = mapper.readTree(json);
        String written = mapper.writerWithDefaultPrettyPrinter().writeValueAsString(settings);

        Document document = DocumentBuilderFactory.newInstance().newDocumentBuilder()
                .parse(new ByteArrayInputStream("<a><b c='1'>text</b></a>".getBytes(StandardCharsets.UTF_8)));
        StringWriter xml = new StringWriter();
        TransformerFactory.newInstance().newTransformer().transform(new DOMSource(document), new StreamResult(xml));

        String date = java.time.format.DateTimeFormatter.ofPattern("EEEE d MMMM uuuu HH:mm", Locale.GERMANY)
                .format(ZonedDateTime.now(ZoneId.of("Europe/Berlin")));
        String joda = DateTimeFormat.fullDateTime().withLocale(Locale.FRANCE)
                .print(new DateTime(DateTimeZone.forID("America/New_York")));
        int work = settings.count + tree.size() + written.length() + xml.toString().length() + date.length() + joda.length();
        System.out.println("ready-at " + micros() + " " + work);
    }
}
